// An in-process COM server loaded by path, with the four entry points such a library exports.
#pragma once

#include "win32/Handles.h"

#include <string>

namespace Tools {

class TServerModule {
public:
  using TGetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  using TEntry = HRESULT(STDAPICALLTYPE*)();

  // With the library's own folder searched first for what it imports, as regsvr32 and COM load it. Empty when
  // the file cannot be loaded (GetLastError says why); an entry point the library lacks stays null.
  explicit TServerModule(const std::wstring& path);

  explicit operator bool() const noexcept { return static_cast<bool>(FLibrary); }
  HMODULE Handle() const noexcept { return FLibrary.get(); }
  // Leaves the library loaded until the process ends.
  void KeepLoaded() noexcept { FLibrary.release(); }

  TGetClassObject GetClassObject = nullptr;
  TEntry CanUnloadNow = nullptr;
  TEntry RegisterServer = nullptr;
  TEntry UnregisterServer = nullptr;

private:
  Win32::TLibrary FLibrary;
};

}  // namespace Tools
