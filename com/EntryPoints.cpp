// The exported entry points: class objects from the registry, the unload answer, (un)registration.
#include "EntryPoints.h"

#include "ComBoundary.h"
#include "ComClassManager.h"
#include "ComObjectFactory.h"
#include "ComServer.h"

namespace ComServ {

using namespace ComObj;

namespace {

// Absent only outside the library's load and unload; registering then is a failure, not a crash.
TComServer& LoadedServer() {
  if (!ModuleServer) throw EOleError("The server module is not loaded");
  return *ModuleServer;
}

}  // namespace

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  return CallBoundary([&] {
    TComObjectFactory* factory = ClassManager().FindFactory(classId);
    return factory ? factory->QueryInterface(iid, out) : CLASS_E_CLASSNOTAVAILABLE;
  });
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() noexcept {
  if (!ModuleServer) return S_OK;
  return ModuleServer->LiveObjects() != 0 || ModuleServer->FactoryRefs() != 0 ? S_FALSE : S_OK;
}

HRESULT STDAPICALLTYPE DllRegisterServer() noexcept {
  return RegistrationBoundary([] { LoadedServer().UpdateServerRegistration(true); });
}

HRESULT STDAPICALLTYPE DllUnregisterServer() noexcept {
  return RegistrationBoundary([] { LoadedServer().UpdateServerRegistration(false); });
}

}  // namespace ComServ
