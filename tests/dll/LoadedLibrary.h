// The built tarnctx.dll loaded by path, with its four exports, for the tests that drive it as COM does.
#pragma once

#include "shell/HandlerClass.h"
#include "win32/Handles.h"

#include <windows.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace DllTesting {

inline std::filesystem::path BuiltLibrary() {
  char self[MAX_PATH];
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path().parent_path() / "tarnctx.dll";
}

template <class Interface>
using TRef = Win32::TComRef<Interface>;

// The library loaded by path, with its four exports.
class TLoadedLibrary {
public:
  explicit TLoadedLibrary(const std::filesystem::path& path) : FModule(::LoadLibraryA(path.string().c_str())) {
    if (!FModule) throw std::runtime_error("cannot load " + path.string());
    GetClassObject = Export<decltype(GetClassObject)>("DllGetClassObject");
    CanUnloadNow = Export<decltype(CanUnloadNow)>("DllCanUnloadNow");
    RegisterServer = Export<decltype(RegisterServer)>("DllRegisterServer");
    UnregisterServer = Export<decltype(UnregisterServer)>("DllUnregisterServer");
  }
  ~TLoadedLibrary() { ::FreeLibrary(FModule); }

  HRESULT(STDAPICALLTYPE* GetClassObject)(REFCLSID, REFIID, void**) = nullptr;
  HRESULT(STDAPICALLTYPE* CanUnloadNow)() = nullptr;
  HRESULT(STDAPICALLTYPE* RegisterServer)() = nullptr;
  HRESULT(STDAPICALLTYPE* UnregisterServer)() = nullptr;

  TRef<IClassFactory> Factory(REFCLSID classId = ContextM::CLSID_TarnwickContextMenu) {
    IClassFactory* factory = nullptr;
    GetClassObject(classId, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    return TRef<IClassFactory>(factory);
  }

private:
  template <class Function>
  Function Export(const char* name) {
    auto address = ::GetProcAddress(FModule, name);
    if (!address) throw std::runtime_error(std::string("no export ") + name);
    return reinterpret_cast<Function>(address);
  }
  HMODULE FModule;
};

template <class Interface>
inline TRef<Interface> Query(IUnknown* object, REFIID iid) {
  Interface* found = nullptr;
  object->QueryInterface(iid, reinterpret_cast<void**>(&found));
  return TRef<Interface>(found);
}

}  // namespace DllTesting
