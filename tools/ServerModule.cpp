// LoadLibraryExW and GetProcAddress.
#include "ServerModule.h"

namespace Tools {

namespace {

template <class Function>
Function ExportOf(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

}  // namespace

TServerModule::TServerModule(const std::wstring& path)
    : FLibrary(::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {
  GetClassObject = ExportOf<TGetClassObject>(FLibrary.get(), "DllGetClassObject");
  CanUnloadNow = ExportOf<TEntry>(FLibrary.get(), "DllCanUnloadNow");
  RegisterServer = ExportOf<TEntry>(FLibrary.get(), "DllRegisterServer");
  UnregisterServer = ExportOf<TEntry>(FLibrary.get(), "DllUnregisterServer");
}

}  // namespace Tools
