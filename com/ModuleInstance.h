// The instance handle of the module that holds this code: the library in Explorer, the program in tests.
#pragma once

#include <windows.h>

namespace ComObj {

HINSTANCE ModuleInstance() noexcept;

}  // namespace ComObj
