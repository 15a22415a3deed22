// COM first; the user's own registration when COM does not know the class.
#include "HandlerCreation.h"

#include "ClassesView.h"
#include "HandlerDiscovery.h"
#include "HostError.h"
#include "tools/Text.h"

namespace Host {

namespace {

using TGetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using TCanUnloadNow = HRESULT(STDAPICALLTYPE*)();

std::wstring UserRegisteredServer(const CLSID& classId) {
  Win32::TRegKey classes;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, KEY_READ, classes.put()) != ERROR_SUCCESS) return {};
  return DefaultValue(classes.get(), L"CLSID\\" + ClassText(classId) + L"\\InprocServer32");
}

template <class Function>
Function ExportOf(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

THandlerFactory::~THandlerFactory() {
  for (Win32::TLibrary& library : FLibraries) {
    auto canUnloadNow = ExportOf<TCanUnloadNow>(library.get(), "DllCanUnloadNow");
    // A server that still counts objects or locks stays loaded until the process ends.
    if (!canUnloadNow || canUnloadNow() != S_OK) library.release();
  }
}

THandlerFactory::TCreated THandlerFactory::Create(const CLSID& classId) {
  IShellExtInit* created = nullptr;
  HRESULT result =
      ::CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, reinterpret_cast<void**>(&created));
  if (SUCCEEDED(result)) return {Win32::TComRef<IShellExtInit>(created), {}};
  std::wstring server = result == REGDB_E_CLASSNOTREG ? UserRegisteredServer(classId) : std::wstring();
  if (server.empty())
    CheckCall(result, "CoCreateInstance of " + Tools::Utf8(ClassText(classId)), TExitCode::ecCannotCreate);
  return {CreateFromUserRegistration(classId, server), L"the user's own registration, " + server};
}

Win32::TComRef<IShellExtInit> THandlerFactory::CreateFromUserRegistration(const CLSID& classId,
                                                                           const std::wstring& server) {
  std::string what = "the server " + Tools::Utf8(server) + " of " + Tools::Utf8(ClassText(classId));
  Win32::TLibrary library(::LoadLibraryExW(server.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  if (!library) CheckCall(HRESULT_FROM_WIN32(::GetLastError()), "Loading " + what, TExitCode::ecCannotCreate);
  auto getClassObject = ExportOf<TGetClassObject>(library.get(), "DllGetClassObject");
  if (!getClassObject) throw EHostError(TExitCode::ecCannotCreate, "No DllGetClassObject in " + what);

  IClassFactory* factory = nullptr;
  CheckCall(getClassObject(classId, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
            "DllGetClassObject of " + what, TExitCode::ecCannotCreate);
  Win32::TComRef<IClassFactory> ownedFactory(factory);
  IShellExtInit* created = nullptr;
  CheckCall(factory->CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(&created)),
            "CreateInstance of " + what, TExitCode::ecCannotCreate);
  FLibraries.push_back(std::move(library));
  return Win32::TComRef<IShellExtInit>(created);
}

}  // namespace Host
