// Both filters on, and a carrier mask that holds the benchmark's own file extension.
#include "Options.h"

#include "shell/Identities.h"

namespace Bench {

TOptions::TOptions() {
  using namespace ContextM;
  for (auto [name, value] :
       {std::pair{DecryptFilterValue, "1"}, {CarrierFilterValue, "1"}, {CarrierMaskValue, "*.TWK;*.BMP"}})
    FKey.SetString(name, value);
}

}  // namespace Bench
