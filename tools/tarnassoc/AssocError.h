// The association tool's failures, each with the exit code that installers and scripts can test.
#pragma once

#include "tools/ToolError.h"

#include <string>

namespace Assoc {

enum class TExitCode : int {
  ecOk = 0,
  ecUnexpected = 1,
  ecUsage = 2,
  ecLibrary = 3,       // the library cannot be loaded or lacks its registration exports
  ecAccessDenied = 4,  // the machine's keys need administrator rights
  ecRegistration = 5,  // the library's own DllRegisterServer or DllUnregisterServer failed
  ecRegistry = 6,      // another registry call failed
  ecPackage = 7,       // the menu's package could not be added or removed, or the system did not confirm it
};

using EAssocError = Tools::EToolError<TExitCode>;

// Raises the failure of a registry call: access denied as such, anything else as ecRegistry.
void CheckRegistry(long status, const std::string& what);

}  // namespace Assoc
