// IOleWindow alone: what a command asks its site for to own its message boxes.
#include "HostSite.h"

#include "tools/ComUnknown.h"

namespace Host {

namespace {

class TSite final : public Tools::TComUnknown<Tools::TLifetime::ltCounted, IOleWindow> {
public:
  explicit TSite(HWND window) : FWindow(window) {}

  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = FWindow;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

private:
  HWND FWindow;
};

}  // namespace

Win32::TComRef<IUnknown> MakeSite(HWND window) { return Win32::TComRef<IUnknown>(new TSite(window)); }

}  // namespace Host
