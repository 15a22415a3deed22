// The suite's options key, set for the run so that a menu holds all ten entries, and removed at the end.
#pragma once

#include "tools/OptionsKey.h"

namespace Bench {

class TOptions {
public:
  TOptions();

private:
  Tools::TOptionsKey FKey;
};

}  // namespace Bench
