// The object factory: registry membership, object creation with the aggregation rule, the server lock.
#include "ComObjectFactory.h"

#include "ComBoundary.h"
#include "ComClassManager.h"
#include "ComServerObject.h"
#include "Exceptions.h"
#include "Registration.h"
#include "win32/CodePage.h"

namespace ComObj {

TComObjectFactory::TComObjectFactory(TComServerObject& server, TComObjectClass objectClass, const GUID& classId,
                                     std::string objectName, std::string description, TInstancingMode instancing,
                                     TThreadModel threadModel)
    : FServer(&server),
      FObjectClass(objectClass),
      FClassGuid(classId),
      FObjectName(std::move(objectName)),
      FFriendlyName(std::move(description)),
      FInstancingMode(instancing),
      FThreadModel(threadModel) {
  // Listed only once complete, so a lookup on another thread never meets a half-made factory.
  ClassManager().InsertFactory(*this);
}

TComObjectFactory::~TComObjectFactory() {
  if (FRegCookie != NoCookie) ::CoRevokeClassObject(FRegCookie);
  ClassManager().DetachFactory(*this);
}

std::string TComObjectFactory::ComposeProgId() {
  if (FObjectName.empty()) return {};
  return FServer->ServerTitle() + "." + FObjectName;
}

TComObject* TComObjectFactory::NewComObject(IUnknown* outer) { return FObjectClass(*this, outer); }

void TComObjectFactory::ApplyRegistration(bool registering) {
  if (FInstancingMode == imInternal) return;
  if (registering)
    RegisterClassEntries(*this);
  else
    UnregisterClassEntries(*this);
}

void TComObjectFactory::PublishClassObject() {
  if (FInstancingMode == imInternal) return;
  DWORD flags = FInstancingMode == imSingleUse ? REGCLS_SINGLEUSE : REGCLS_MULTIPLEUSE;
  if (FServer->RegistersSuspended()) flags |= REGCLS_SUSPENDED;
  DWORD cookie;
  CheckOleResult(
      ::CoRegisterClassObject(FClassGuid, static_cast<IClassFactory*>(this), CLSCTX_LOCAL_SERVER, flags, &cookie));
  FRegCookie = cookie;
}

// IUnknown ----------------------------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE TComObjectFactory::QueryInterface(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!::IsEqualGUID(iid, IID_IUnknown) && !::IsEqualGUID(iid, IID_IClassFactory)) return E_NOINTERFACE;
  *out = static_cast<IClassFactory*>(this);
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE TComObjectFactory::AddRef() noexcept {
  return static_cast<ULONG>(FServer->AdjustFactoryCount(true));
}

ULONG STDMETHODCALLTYPE TComObjectFactory::Release() noexcept {
  return static_cast<ULONG>(FServer->AdjustFactoryCount(false));
}

// IClassFactory -----------------------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE TComObjectFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  // An aggregating outer object must receive the identity IUnknown.
  if (outer && !::IsEqualGUID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
  return CallBoundary([&] { return CreateAndQuery(outer, iid, out); },
                      [this](const Exception& failure) { ReportCreationFailure(failure.Message()); });
}

HRESULT TComObjectFactory::CreateAndQuery(IUnknown* outer, REFIID iid, void** out) {
  TComObject* object = NewComObject(outer);
  HRESULT result = object->InnerQueryInterface(iid, out);
  // Nobody holds an object whose first query failed.
  if (object->RefCount() == 0) object->Destroy();
  return result;
}

void TComObjectFactory::ReportCreationFailure(const std::string& message) const noexcept {
  if (!FShowErrorBox) return;
  try {
    ::MessageBoxA(nullptr, CreationFailureText(message).c_str(), "ZOV Error", MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
  } catch (...) {
  }
}

HRESULT STDMETHODCALLTYPE TComObjectFactory::LockServer(BOOL lock) noexcept {
  HRESULT result = ::CoLockObjectExternal(static_cast<IClassFactory*>(this), lock, TRUE);
  // A lock weighs like a live object, whatever COM answered.
  FServer->AdjustObjectCount(lock != FALSE);
  return result;
}

std::string CreationFailureText(const std::string& message) {
  if (message.empty()) return message;
  // The last character decides; in a double-byte code page that is its lead byte.
  std::size_t last = 0;
  const Win32::TLeadBytes& leadBytes = Win32::SystemLeadBytes();
  for (std::size_t i = 0; i < message.size(); i += Win32::CharacterLength(message, i, leadBytes)) last = i;
  return static_cast<unsigned char>(message[last]) > '.' ? message + "." : message;
}

}  // namespace ComObj
