// Paths, registration and creation through COM.
#include "Library.h"

#include "minimal/MinimalClass.h"
#include "shell/Identities.h"
#include "win32/ComText.h"
#include "tools/ServerModule.h"
#include "tools/Registry.h"
#include "win32/Module.h"
#include "win32/Registry.h"

#include <filesystem>
#include <stdexcept>

namespace Bench {

namespace fs = std::filesystem;

namespace {

std::wstring ClassKey(const GUID& classId) { return L"CLSID\\" + Win32::ClassIdText(classId); }

// Calls one of the library's registration exports with the library loaded for just that call.
HRESULT CallRegistration(const std::wstring& library, Tools::TServerModule::TEntry Tools::TServerModule::*entry) {
  Tools::TServerModule module(library);
  if (!module) throw std::runtime_error("cannot load the library to register it");
  return module.*entry ? (module.*entry)() : E_NOINTERFACE;
}

void SetString(const std::wstring& keyPath, const std::wstring& name, const std::wstring& value) {
  if (Win32::WriteStringValue(HKEY_CLASSES_ROOT, keyPath, name, value) != ERROR_SUCCESS)
    throw std::runtime_error("cannot register the minimal COM library");
}

}  // namespace

TPaths FindPaths() {
  fs::path program(Win32::ModulePath());
  fs::path build = program.parent_path().parent_path();
  return {build.wstring(), build.parent_path().wstring(), (build / L"tarnctx.dll").wstring(),
          (program.parent_path() / L"minimalcom.dll").wstring()};
}

THandlerRegistration::THandlerRegistration(const std::wstring& library)
    : FLibrary(library), FWasRegistered(Tools::IsClassRegistered(ContextM::CLSID_TarnwickContextMenu)) {
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
  SetString(server, L"", library);
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
