// The floor of loading a COM library and creating a handler: one class with a shell interface, its factory,
// the two exports COM calls, and nothing else.
#include "MinimalClass.h"

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <new>

namespace {

// Live objects and server locks: the library may go when this is 0.
std::atomic<LONG> Holds{0};

class TMinimalHandler final : public IShellExtInit {
public:
  TMinimalHandler() noexcept { ++Holds; }
  ~TMinimalHandler() { --Holds; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!::IsEqualGUID(iid, IID_IUnknown) && !::IsEqualGUID(iid, IID_IShellExtInit)) return E_NOINTERFACE;
    *out = static_cast<IShellExtInit*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++FReferences; }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    ULONG count = --FReferences;
    if (count == 0) {
      this->~TMinimalHandler();
      ::HeapFree(::GetProcessHeap(), 0, this);
    }
    return count;
  }
  HRESULT STDMETHODCALLTYPE Initialize(PCIDLIST_ABSOLUTE, IDataObject*, HKEY) noexcept override { return S_OK; }

private:
  std::atomic<ULONG> FReferences{1};
};

// Lives as long as the library; its references do not keep the library loaded, as COM expects of a factory.
class TMinimalFactory final : public IClassFactory {
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!::IsEqualGUID(iid, IID_IUnknown) && !::IsEqualGUID(iid, IID_IClassFactory)) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return 2; }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    // From the process heap: operator new would bring the C++ runtime's exception machinery into the library.
    void* memory = ::HeapAlloc(::GetProcessHeap(), 0, sizeof(TMinimalHandler));
    if (!memory) return E_OUTOFMEMORY;
    auto* object = new (memory) TMinimalHandler;
    HRESULT result = object->QueryInterface(iid, out);
    object->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override {
    lock ? ++Holds : --Holds;
    return S_OK;
  }
};

TMinimalFactory Factory;

}  // namespace

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, LPVOID* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!::IsEqualGUID(classId, Bench::CLSID_MinimalHandler)) return CLASS_E_CLASSNOTAVAILABLE;
  return Factory.QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() { return Holds.load() == 0 ? S_OK : S_FALSE; }
