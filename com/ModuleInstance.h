// The instance handle of the module that holds this code: the library in Explorer, the program in tests.
#pragma once

#include <windows.h>

namespace ComObj {

// The handle the library's entry point gave, or else the module found from the address of this code.
HINSTANCE ModuleInstance() noexcept;

// Called by the library's entry point at process attach with the handle the loader passed.
void SetModuleInstance(HINSTANCE instance) noexcept;

// Whether the module runs as a library (in-process server). The frame ships in a library only, so it starts
// true; tests clear it to see what an executable server would register.
inline bool ModuleIsLibrary = true;

}  // namespace ComObj
