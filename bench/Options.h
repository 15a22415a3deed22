// The suite's options key, set for the run so that a menu holds all ten entries, and removed at the end.
#pragma once

namespace Bench {

class TOptions {
public:
  TOptions();
  ~TOptions();
  TOptions(const TOptions&) = delete;
  TOptions& operator=(const TOptions&) = delete;
};

}  // namespace Bench
