// The host's failures, each with the exit code that scripts can test.
#pragma once

#include "tools/ToolError.h"

#include <windows.h>

#include <string>

namespace Host {

enum class TExitCode : int {
  ecOk = 0,
  ecUnexpected = 1,    // a fault of the host itself
  ecUsage = 2,         // wrong arguments
  ecNoSuchPath = 3,    // a selected file or folder does not exist
  ecNoHandler = 4,     // no context-menu handler is registered for the selection
  ecCannotCreate = 5,  // a registered handler class cannot be created
  ecCallFailed = 6,    // a handler's method failed
  ecNoSuchItem = 7,    // the item to invoke is not in the menu
  ecScreenshot = 8,    // the menu could not be shown, captured or saved
};

using EHostError = Tools::EToolError<TExitCode>;

// "0x80070057 (E_INVALIDARG) The parameter is incorrect.": the value, COM's name for it when it is a common one,
// and the system's own text for it when the system has one.
std::string HResultText(HRESULT result);

// Raises "CALL failed: <HResultText>" with the given exit code when the result is a failure.
void CheckCall(HRESULT result, const std::string& call, TExitCode code = TExitCode::ecCallFailed);

}  // namespace Host
