// IOleWindow alone: what a command asks its site for to own its message boxes.
#include "HostSite.h"

#include <atomic>

namespace Host {

namespace {

class TSite final : public IOleWindow {
public:
  explicit TSite(HWND window) : FWindow(window) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = iid == IID_IUnknown || iid == IID_IOleWindow ? static_cast<IOleWindow*>(this) : nullptr;
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FCount; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG count = --FCount;
    if (count == 0) delete this;
    return count;
  }
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = FWindow;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

private:
  std::atomic<ULONG> FCount{1};
  HWND FWindow;
};

}  // namespace

Win32::TComRef<IUnknown> MakeSite(HWND window) { return Win32::TComRef<IUnknown>(new TSite(window)); }

}  // namespace Host
