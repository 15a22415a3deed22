// COM first; the user's own registration when COM does not know the class.
#include "HandlerCreation.h"

#include "ClassesView.h"
#include "HandlerDiscovery.h"
#include "HostError.h"
#include "win32/ComText.h"
#include "tools/ToolText.h"

namespace Host {

namespace {

std::wstring UserRegisteredServer(const CLSID& classId) {
  Win32::TRegKey classes;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, KEY_READ, classes.put()) != ERROR_SUCCESS) return {};
  return DefaultValue(classes.get(), L"CLSID\\" + Win32::ClassIdText(classId) + L"\\InprocServer32");
}

}  // namespace

THandlerFactory::~THandlerFactory() {
  for (Tools::TServerModule& server : FServers)
    // A server that still counts objects or locks stays loaded until the process ends.
    if (!server.CanUnloadNow || server.CanUnloadNow() != S_OK) server.KeepLoaded();
}

THandlerFactory::TCreated THandlerFactory::Create(const CLSID& classId) {
  Win32::TComRef<IShellExtInit> created;
  HRESULT result = ::CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(created.put()));
  if (SUCCEEDED(result)) return {std::move(created), {}};
  std::wstring server = result == REGDB_E_CLASSNOTREG ? UserRegisteredServer(classId) : std::wstring();
  if (server.empty())
    CheckCall(result, "CoCreateInstance of " + Tools::Utf8(Win32::ClassIdText(classId)), TExitCode::ecCannotCreate);
  return {CreateFromUserRegistration(classId, server), L"the user's own registration, " + server};
}

Win32::TComRef<IShellExtInit> THandlerFactory::CreateFromUserRegistration(const CLSID& classId,
                                                                          const std::wstring& server) {
  std::string what = "the server " + Tools::Utf8(server) + " of " + Tools::Utf8(Win32::ClassIdText(classId));
  Tools::TServerModule module(server);
  if (!module) CheckCall(HRESULT_FROM_WIN32(::GetLastError()), "Loading " + what, TExitCode::ecCannotCreate);
  if (!module.GetClassObject) throw EHostError(TExitCode::ecCannotCreate, "No DllGetClassObject in " + what);

  Win32::TComRef<IClassFactory> factory;
  CheckCall(module.GetClassObject(classId, IID_PPV_ARGS(factory.put())), "DllGetClassObject of " + what,
            TExitCode::ecCannotCreate);
  Win32::TComRef<IShellExtInit> created;
  CheckCall(factory->CreateInstance(nullptr, IID_PPV_ARGS(created.put())), "CreateInstance of " + what,
            TExitCode::ecCannotCreate);
  FServers.push_back(std::move(module));
  return created;
}

}  // namespace Host
