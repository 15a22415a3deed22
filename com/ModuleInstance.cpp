// Finds the module that holds this code: the handle set at process attach, else from one of its addresses.
#include "ModuleInstance.h"

#include <atomic>

namespace ComObj {

namespace {
std::atomic<HINSTANCE> GivenInstance{nullptr};
}

HINSTANCE ModuleInstance() noexcept {
  if (HINSTANCE given = GivenInstance.load()) return given;
  HMODULE module = nullptr;
  ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ModuleInstance), &module);
  return module;
}

void SetModuleInstance(HINSTANCE instance) noexcept { GivenInstance.store(instance); }

}  // namespace ComObj
