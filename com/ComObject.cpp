// The COM object base: construction for a factory, interface lookup, counting and destruction.
#include "ComObject.h"

#include "ComObjectFactory.h"
#include "ComServerObject.h"

namespace ComObj {

const TInterfaceTable& TComObject::ClassInterfaces() noexcept {
  static const TInterfaceEntry entries[] = {
      {IID_ISupportErrorInfo,
       [](TComObject& object) noexcept -> IUnknown* { return static_cast<ISupportErrorInfo*>(&object); }},
      {IID_IUnknown, [](TComObject& object) noexcept -> IUnknown* { return &object.FInnerUnknown; }},
  };
  static const TInterfaceTable table{entries, std::size(entries), nullptr};
  return table;
}

// Construction ---------------------------------------------------------------------------------------

TComObject* TComObject::Construct(TComObject* object, TComObjectFactory& factory, IUnknown* outer) {
  // A count of 1 keeps a reference taken and dropped inside PrepareObject from freeing the object.
  object->FReferenceCount.store(1);
  object->FOriginFactory = &factory;
  object->FOuterUnknown = outer;
  if (!object->FNotCounted) factory.Server().AdjustObjectCount(true);
  try {
    object->PrepareObject();
  } catch (...) {
    object->Destroy();
    throw;
  }
  // Nobody else can reach the object yet; the creator takes the first reference.
  object->FReferenceCount.store(object->FReferenceCount.load(std::memory_order_relaxed) - 1);
  return object;
}

// Delegating IUnknown ----------------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE TComObject::QueryInterface(REFIID iid, void** out) noexcept {
  if (FOuterUnknown) return FOuterUnknown->QueryInterface(iid, out);
  return InnerQueryInterface(iid, out);
}

ULONG STDMETHODCALLTYPE TComObject::AddRef() noexcept {
  if (FOuterUnknown) return FOuterUnknown->AddRef();
  return InnerAddRef();
}

ULONG STDMETHODCALLTYPE TComObject::Release() noexcept {
  if (FOuterUnknown) return FOuterUnknown->Release();
  return InnerRelease();
}

// Identity IUnknown -----------------------------------------------------------------------------------

IUnknown* TComObject::FindInterface(REFIID iid) noexcept {
  for (const TInterfaceTable* table = &InterfaceTable(); table; table = table->Parent)
    for (std::size_t i = 0; i < table->Count; ++i)
      if (::IsEqualGUID(table->Entries[i].Iid, iid)) return table->Entries[i].Locate(*this);
  return nullptr;
}

HRESULT STDMETHODCALLTYPE TComObject::InnerQueryInterface(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  IUnknown* found = FindInterface(iid);
  *out = found;
  if (!found) return E_NOINTERFACE;
  // Through the interface's own AddRef: the identity counts this object, the others the controller.
  found->AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE TComObject::InnerAddRef() noexcept { return static_cast<ULONG>(++FReferenceCount); }

ULONG STDMETHODCALLTYPE TComObject::InnerRelease() noexcept {
  LONG count = --FReferenceCount;
  if (count == 0) Destroy();
  return static_cast<ULONG>(count);
}

// ISupportErrorInfo -----------------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE TComObject::InterfaceSupportsErrorInfo(REFIID iid) noexcept {
  return FindInterface(iid) ? S_OK : S_FALSE;
}

// Destruction -------------------------------------------------------------------------------------------

void TComObject::Destroy() noexcept {
  // Runs while the whole object still exists, so a disconnection can still reach every interface.
  if (!FrameClosing.load()) {
    if (FOriginFactory && !FNotCounted) FOriginFactory->Server().AdjustObjectCount(false);
    if (FReferenceCount.load() > 0) ::CoDisconnectObject(&FInnerUnknown, 0);
  }
  delete this;
}

}  // namespace ComObj
