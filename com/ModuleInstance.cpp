// Finds the module that holds this code from the address of one of its functions.
#include "ModuleInstance.h"

namespace ComObj {

HINSTANCE ModuleInstance() noexcept {
  HMODULE module = nullptr;
  ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ModuleInstance), &module);
  return module;
}

}  // namespace ComObj
