// The built tarnctx.dll loaded by path, with its four exports, for the tests that drive it as COM does.
#pragma once

#include "shell/Identities.h"
#include "tools/ServerModule.h"
#include "win32/Module.h"

#include <filesystem>
#include <stdexcept>

namespace DllTesting {

using Win32::TComRef;

inline std::filesystem::path BuiltLibrary() {
  return std::filesystem::path(Win32::ModulePath()).parent_path().parent_path() / "tarnctx.dll";
}

// The library loaded by path, with all four of its exports.
class TLoadedLibrary : public Tools::TServerModule {
public:
  explicit TLoadedLibrary(const std::filesystem::path& path) : TServerModule(path.wstring()) {
    if (!*this) throw std::runtime_error("cannot load " + path.string());
    if (!GetClassObject || !CanUnloadNow || !RegisterServer || !UnregisterServer)
      throw std::runtime_error("an export is missing from " + path.string());
  }

  TComRef<IClassFactory> Factory(REFCLSID classId = ContextM::CLSID_TarnwickContextMenu) {
    TComRef<IClassFactory> factory;
    GetClassObject(classId, IID_PPV_ARGS(factory.put()));
    return factory;
  }
};

}  // namespace DllTesting
