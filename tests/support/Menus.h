// Reads real menus back from the platform.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace Testing {

struct TMenuEntry {
  std::string Text;  // "-" for a separator
  UINT Id;
  UINT Type;
  HMENU Submenu;
  HBITMAP Unchecked, Checked;
};

std::vector<TMenuEntry> ReadMenu(HMENU menu);

// The texts of a menu's entries, "-" for separators.
std::vector<std::string> Captions(HMENU menu);

// A shell-like menu that already holds some items; destroyed with its submenus.
class TShellMenu {
public:
  explicit TShellMenu(int items = 3);
  ~TShellMenu() { ::DestroyMenu(FMenu); }
  HMENU get() const { return FMenu; }

private:
  HMENU FMenu;
};

}  // namespace Testing
