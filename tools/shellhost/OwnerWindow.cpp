// One window class for the host; the window finds its object through its user data.
#include "OwnerWindow.h"

#include "HostError.h"

namespace Host {

namespace {

constexpr wchar_t ClassName[] = L"TarnctxShellHost";

void RegisterOnce(WNDPROC procedure) {
  static const bool registered = [&] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = ClassName;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    return ::RegisterClassW(&windowClass) != 0;
  }();
  if (!registered) CheckCall(HRESULT_FROM_WIN32(::GetLastError()), "RegisterClassW");
}

}  // namespace

TOwnerWindow::TOwnerWindow(THandler handler, const RECT* shownOver) : FHandler(std::move(handler)) {
  RegisterOnce(Procedure);
  RECT area = shownOver ? *shownOver : RECT{0, 0, 1, 1};
  FWindow = ::CreateWindowExW(WS_EX_TOOLWINDOW, ClassName, L"tarnctx shell host",
                              WS_POPUP | (shownOver ? WS_VISIBLE : 0), area.left, area.top, area.right - area.left,
                              area.bottom - area.top, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
  if (!FWindow) CheckCall(HRESULT_FROM_WIN32(::GetLastError()), "CreateWindowExW");
}

TOwnerWindow::~TOwnerWindow() { ::DestroyWindow(FWindow); }

LRESULT CALLBACK TOwnerWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* owner = reinterpret_cast<TOwnerWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (owner && owner->FHandler) {
    // Nothing may leave a window procedure: a failing handler lets the default answer stand.
    try {
      if (std::optional<LRESULT> result = owner->FHandler(message, wParam, lParam)) return *result;
    } catch (...) {
    }
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace Host
