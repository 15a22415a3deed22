// Paths, registration and creation through COM.
#include "Library.h"

#include "minimal/MinimalClass.h"
#include "shell/HandlerClass.h"
#include "tools/ClassText.h"
#include "tools/ServerModule.h"

#include <filesystem>
#include <stdexcept>

namespace Bench {

namespace fs = std::filesystem;

namespace {

std::wstring ClassKey(const GUID& classId) { return L"CLSID\\" + Tools::ClassText(classId); }

bool IsRegistered(const GUID& classId) {
  Win32::TRegKey key;
  std::wstring path = ClassKey(classId) + L"\\InprocServer32";
  return ::RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

// Calls one of the library's registration exports with the library loaded for just that call.
HRESULT CallRegistration(const std::wstring& library, Tools::TServerModule::TEntry Tools::TServerModule::*entry) {
  Tools::TServerModule module(library);
  if (!module) throw std::runtime_error("cannot load the library to register it");
  return module.*entry ? (module.*entry)() : E_NOINTERFACE;
}

void SetString(const std::wstring& keyPath, const wchar_t* name, const std::wstring& value) {
  Win32::TRegKey key;
  if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr) !=
          ERROR_SUCCESS ||
      ::RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
    throw std::runtime_error("cannot register the minimal COM library");
}

}  // namespace

TPaths FindPaths() {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  fs::path program(self);
  fs::path build = program.parent_path().parent_path();
  return {build.wstring(), build.parent_path().wstring(), (build / L"tarnctx.dll").wstring(),
          (program.parent_path() / L"minimalcom.dll").wstring()};
}

THandlerRegistration::THandlerRegistration(const std::wstring& library)
    : FLibrary(library), FWasRegistered(IsRegistered(ContextM::CLSID_TarnwickContextMenu)) {
  if (FAILED(CallRegistration(library, &Tools::TServerModule::RegisterServer)))
    throw std::runtime_error("DllRegisterServer failed");
}

THandlerRegistration::~THandlerRegistration() {
  if (FWasRegistered) return;
  try {
    CallRegistration(FLibrary, &Tools::TServerModule::UnregisterServer);
  } catch (...) {
    // Left registered: the next run registers it again anyway.
  }
}

TMinimalRegistration::TMinimalRegistration(const std::wstring& library) {
  std::wstring server = ClassKey(CLSID_MinimalHandler) + L"\\InprocServer32";
  SetString(server, nullptr, library);
  SetString(server, L"ThreadingModel", L"Apartment");
}

TMinimalRegistration::~TMinimalRegistration() {
  try {
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey(CLSID_MinimalHandler).c_str());
  } catch (...) {
  }
}

Win32::TComRef<IShellExtInit> CreateHandler(const GUID& classId) {
  Win32::TComRef<IShellExtInit> handler;
  if (FAILED(::CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(handler.put()))))
    throw std::runtime_error("CoCreateInstance failed");
  return handler;
}

Win32::TComRef<IContextMenu> MenuOf(IShellExtInit* handler) {
  Win32::TComRef<IContextMenu> menu;
  if (FAILED(handler->QueryInterface(IID_PPV_ARGS(menu.put()))))
    throw std::runtime_error("the handler has no IContextMenu");
  return menu;
}

bool IsLoaded(const std::wstring& library) { return ::GetModuleHandleW(library.c_str()) != nullptr; }

}  // namespace Bench
