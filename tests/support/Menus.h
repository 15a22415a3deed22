// Reads real menus back from the platform.
#pragma once

#include "win32/Handles.h"

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
  HMENU get() const { return FMenu.get(); }

private:
  Win32::TMenu FMenu;
};

}  // namespace Testing
