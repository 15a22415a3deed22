// The built tarnctx.dll and the benchmark's minimal COM library: where they are, their registration for the
// run, and handler objects created through COM as Explorer creates them.
#pragma once

#include "win32/Handles.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace Bench {

struct TPaths {
  std::wstring BuildFolder;  // this architecture's build folder, which holds tarnctx.dll and its link map
  std::wstring BuildRoot;    // the folder of both architectures' build folders
  std::wstring Library;      // tarnctx.dll
  std::wstring Minimal;      // the minimal COM library, next to this program
};

// Found from this program's own place in the build folder.
TPaths FindPaths();

// Registers tarnctx.dll through its own DllRegisterServer, as regsvr32 does, and removes the registration
// at the end unless the class was registered before.
class THandlerRegistration {
public:
  explicit THandlerRegistration(const std::wstring& library);
  ~THandlerRegistration();
  THandlerRegistration(const THandlerRegistration&) = delete;
  THandlerRegistration& operator=(const THandlerRegistration&) = delete;

private:
  std::wstring FLibrary;
  bool FWasRegistered;
};

// Writes the minimal class's server entries under HKEY_CLASSES_ROOT and removes them at the end.
class TMinimalRegistration {
public:
  explicit TMinimalRegistration(const std::wstring& library);
  ~TMinimalRegistration();
  TMinimalRegistration(const TMinimalRegistration&) = delete;
  TMinimalRegistration& operator=(const TMinimalRegistration&) = delete;
};

// CoCreateInstance in process, asking for IShellExtInit first as Explorer does; raises on failure.
Win32::TComRef<IShellExtInit> CreateHandler(const GUID& classId);
Win32::TComRef<IContextMenu> MenuOf(IShellExtInit* handler);

bool IsLoaded(const std::wstring& library);

}  // namespace Bench
