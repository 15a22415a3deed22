// Registry status codes turned into the tool's failures.
#include "AssocError.h"

#include <windows.h>

namespace Assoc {

void CheckRegistry(long status, const std::string& what) {
  if (status == ERROR_SUCCESS) return;
  if (status == ERROR_ACCESS_DENIED)
    throw EAssocError(TExitCode::ecAccessDenied,
                      what +
                          ": access denied. The machine's keys need administrator rights; --user installs for "
                          "this user alone");
  throw EAssocError(TExitCode::ecRegistry, what + ": registry error " + std::to_string(status));
}

}  // namespace Assoc
