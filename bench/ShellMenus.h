// Shell-like context menus for one block of calls: made before its clock starts, destroyed after it stops.
#pragma once

#include "win32/Handles.h"

#include <windows.h>

#include <vector>

namespace Bench {

class TShellMenus {
public:
  explicit TShellMenus(int count) {
    FMenus.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      Win32::TMenu& menu = FMenus.emplace_back(::CreatePopupMenu());
      ::InsertMenuA(menu.get(), 0, MF_BYPOSITION | MF_STRING, 1, "Open");
      ::InsertMenuA(menu.get(), 1, MF_BYPOSITION | MF_STRING, 2, "Properties");
    }
  }
  // Where the handler inserts: between the shell's two items.
  static constexpr UINT Index = 1;
  HMENU operator[](int i) const { return FMenus[static_cast<std::size_t>(i)].get(); }

private:
  std::vector<Win32::TMenu> FMenus;  // destroying a menu destroys the submenus inserted into it
};

}  // namespace Bench
