// Both filters on, and a carrier mask that holds the benchmark's own file extension.
#include "Options.h"

namespace Bench {

TOptions::TOptions() {
  for (auto [name, value] : {std::pair{"DecryptSec", "1"}, {"UnhideInst", "1"}, {"UnhideMask", "*.TWK;*.BMP"}})
    FKey.SetString(name, value);
}

}  // namespace Bench
