// TComObjectFactory: the class object of one COM class, listed in the registry, creating through IClassFactory.
#pragma once

#include "ComObject.h"

#include <windows.h>
#include <unknwn.h>

#include <cstdint>
#include <string>

namespace ComObj {

class TComServerObject;

enum TInstancingMode : std::uint8_t { imInternal, imSingleUse, imMultiUse };
enum TThreadModel : std::uint8_t { thSingle, thApartment, thFree, thBoth };

// One per class. Its IUnknown counting is the server's count of factory references; the factory's lifetime
// is its server's business, never Release's.
class TComObjectFactory : public IClassFactory {
public:
  TComObjectFactory(TComServerObject& server, TComObjectClass objectClass, const GUID& classId, std::string objectName,
                    std::string description, TInstancingMode instancing, TThreadModel threadModel);
  TComObjectFactory(const TComObjectFactory&) = delete;
  TComObjectFactory& operator=(const TComObjectFactory&) = delete;
  // Leaves the registry.
  virtual ~TComObjectFactory();

  // Empty for an empty object name, else the server title, ".", the object name.
  virtual std::string ComposeProgId();
  // A new object of the factory's class, counted, with a reference count of 0.
  virtual TComObject* NewComObject(IUnknown* outer);
  // True writes the class's registry entries, false removes them; failures are raised.
  virtual void ApplyRegistration(bool registering);
  // Executable servers only: offers the class object to COM.
  void PublishClassObject();

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override;
  ULONG STDMETHODCALLTYPE Release() noexcept override;
  // IClassFactory
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) noexcept override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override;

  TComServerObject& Server() const noexcept { return *FServer; }
  const GUID& ClassId() const noexcept { return FClassGuid; }
  const std::string& ObjectName() const noexcept { return FObjectName; }
  const std::string& FriendlyName() const noexcept { return FFriendlyName; }
  const GUID& ErrorGuid() const noexcept { return FErrorGuid; }
  TInstancingMode InstancingMode() const noexcept { return FInstancingMode; }
  TThreadModel ThreadModel() const noexcept { return FThreadModel; }
  DWORD RegCookie() const noexcept { return FRegCookie; }
  bool ShowErrorBox() const noexcept { return FShowErrorBox; }
  void SetShowErrorBox(bool show) noexcept { FShowErrorBox = show; }

private:
  friend class TComClassManager;  // keeps the chain link
  static constexpr DWORD NoCookie = 0xFFFFFFFF;

  HRESULT CreateAndQuery(IUnknown* outer, REFIID iid, void** out);
  void ReportCreationFailure(const std::string& message) const noexcept;

  TComObjectFactory* FNextFactory = nullptr;
  TComServerObject* FServer;
  TComObjectClass FObjectClass;
  GUID FClassGuid;
  std::string FObjectName;
  std::string FFriendlyName;
  GUID FErrorGuid = IID_IUnknown;
  TInstancingMode FInstancingMode;
  DWORD FRegCookie = NoCookie;
  bool FShowErrorBox = true;
  TThreadModel FThreadModel;
};

// The text of the "ZOV Error" box: a message ending in a character above "." gets a full stop.
std::string CreationFailureText(const std::string& message);

}  // namespace ComObj
