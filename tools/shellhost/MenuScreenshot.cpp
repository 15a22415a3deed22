// The menu loop runs inside TrackPopupMenu; the owner window hears WM_ENTERIDLE whenever the loop waits, and the
// keys it posts to its own queue reach the loop as if typed.
#include "MenuScreenshot.h"

#include "HostError.h"
#include "OwnerWindow.h"
#include "ScreenGrab.h"

#include <optional>
#include <string>

namespace Host {

namespace {

constexpr POINT MenuOrigin{16, 16};
// Around the menus, a little of the window behind them shows their edges.
constexpr int Margin = 8;
constexpr UINT_PTR SettleTimer = 1, DeadlineTimer = 2;
// The time the display gets to show what the menus painted.
constexpr UINT SettleMilliseconds = 150;
constexpr UINT DeadlineMilliseconds = 10000;

const TMenuNode* FirstSubmenu(const std::vector<TMenuNode>& tree) {
  for (const TMenuNode& node : tree)
    if (node.Submenu) return &node;
  return nullptr;
}

// Down from no selection selects the first item; separators are skipped.
int DownPresses(const std::vector<TMenuNode>& tree, const TMenuNode& target) {
  int presses = 1;
  for (const TMenuNode& node : tree)
    if (node.Position < target.Position && !node.Separator) ++presses;
  return presses;
}

BOOL CALLBACK AddMenuWindow(HWND window, LPARAM area) {
  wchar_t className[16] = L"";
  ::GetClassNameW(window, className, ARRAYSIZE(className));
  if (std::wstring(className) == L"#32768" && ::IsWindowVisible(window)) {
    RECT bounds;
    ::GetWindowRect(window, &bounds);
    auto* total = reinterpret_cast<RECT*>(area);
    ::UnionRect(total, total, &bounds);
  }
  return TRUE;
}

// The menu windows are created by the thread that tracks the menu.
RECT OpenMenusArea() {
  RECT area{};
  ::EnumThreadWindows(::GetCurrentThreadId(), AddMenuWindow, reinterpret_cast<LPARAM>(&area));
  return area;
}

class TMenuCapture {
public:
  TMenuCapture(HMENU menu, const std::vector<TMenuNode>& tree) : FMenu(menu) {
    if (const TMenuNode* target = FirstSubmenu(tree)) {
      FExpand = target->Submenu;
      FDownPresses = DownPresses(tree, *target);
    }
  }

  TImage Run() {
    RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    TOwnerWindow owner([this](UINT message, WPARAM wParam, LPARAM lParam) { return Handle(message, wParam, lParam); },
                       &screen);
    FOwner = owner.Handle();
    ::SetForegroundWindow(FOwner);
    ::SetTimer(FOwner, DeadlineTimer, DeadlineMilliseconds, nullptr);
    ::TrackPopupMenu(FMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, MenuOrigin.x, MenuOrigin.y, 0, FOwner,
                     nullptr);
    ::KillTimer(FOwner, DeadlineTimer);
    if (!FImage) throw EHostError(TExitCode::ecScreenshot, FError.empty() ? "The menu did not open" : FError);
    return std::move(*FImage);
  }

private:
  enum class TStage { sgOpening, sgExpanding, sgDrawn, sgSettling, sgDone };

  std::optional<LRESULT> Handle(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_ENTERIDLE && wParam == MSGF_MENU) Idle();
    if (message == WM_INITMENUPOPUP && FStage == TStage::sgExpanding && reinterpret_cast<HMENU>(wParam) == FExpand)
      FStage = TStage::sgDrawn;
    if (message == WM_TIMER && wParam == SettleTimer) Capture();
    if (message == WM_TIMER && wParam == DeadlineTimer) Finish("The submenu did not open in time");
    return std::nullopt;
  }

  void Idle() {
    if (FStage == TStage::sgOpening && FExpand) {
      for (int i = 0; i < FDownPresses; ++i) ::PostMessageW(FOwner, WM_KEYDOWN, VK_DOWN, 0);
      ::PostMessageW(FOwner, WM_KEYDOWN, VK_RIGHT, 0);
      FStage = TStage::sgExpanding;
    } else if (FStage == TStage::sgOpening || FStage == TStage::sgDrawn) {
      ::SetTimer(FOwner, SettleTimer, SettleMilliseconds, nullptr);
      FStage = TStage::sgSettling;
    }
  }

  void Capture() {
    ::KillTimer(FOwner, SettleTimer);
    try {
      RECT area = OpenMenusArea();
      ::InflateRect(&area, Margin, Margin);
      FImage = GrabScreen(area);
      Finish({});
    } catch (const EHostError& error) {
      Finish(error.what());
    }
  }

  void Finish(const std::string& error) {
    FError = error;
    FStage = TStage::sgDone;
    ::EndMenu();
  }

  HMENU FMenu;
  HMENU FExpand = nullptr;
  int FDownPresses = 0;
  HWND FOwner = nullptr;
  TStage FStage = TStage::sgOpening;
  std::optional<TImage> FImage;
  std::string FError;
};

}  // namespace

TImage CaptureOpenMenu(HMENU menu, const std::vector<TMenuNode>& tree) {
  if (::GetMenuItemCount(menu) <= 0) throw EHostError(TExitCode::ecScreenshot, "The menu is empty");
  return TMenuCapture(menu, tree).Run();
}

}  // namespace Host
