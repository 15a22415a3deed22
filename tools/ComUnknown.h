// IUnknown for the tools' and tests' own COM objects: each lists its interfaces once, as the library's classes do.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atomic>

namespace Tools {

// How an object ends: where its owner put it (the count is only watched, so a test can see what is kept), or
// deleted at its last release.
enum class TLifetime { ltOwned, ltCounted };

// The first interface also answers for IUnknown. An object starts with one reference, its creator's.
template <TLifetime Lifetime, class First, class... Rest>
class TComUnknown : public First, public Rest... {
public:
  TComUnknown() = default;
  TComUnknown(const TComUnknown&) = delete;
  TComUnknown& operator=(const TComUnknown&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    *out = ::IsEqualGUID(iid, IID_IUnknown) ? static_cast<First*>(this) : Listed<First, Rest...>(iid);
    if (!*out) return QueryUnlisted(iid, out);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++FReferences; }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    ULONG count = --FReferences;
    if constexpr (Lifetime == TLifetime::ltCounted)
      if (count == 0) delete this;
    return count;
  }

  ULONG References() const noexcept { return FReferences; }

protected:
  virtual ~TComUnknown() = default;
  // An interface the list does not name: none, unless the object hands the question on.
  virtual HRESULT QueryUnlisted(REFIID, void**) noexcept { return E_NOINTERFACE; }

private:
  template <class... Interfaces>
  void* Listed(REFIID iid) noexcept {
    void* found = nullptr;
    ((found = found ? found : ::IsEqualGUID(iid, __uuidof(Interfaces)) ? static_cast<Interfaces*>(this) : nullptr),
     ...);
    return found;
  }

  std::atomic<ULONG> FReferences{1};
};

}  // namespace Tools
