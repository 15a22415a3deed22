// Menu read-back through GetMenuItemInfoA.
#include "Menus.h"

namespace Testing {

std::vector<TMenuEntry> ReadMenu(HMENU menu) {
  std::vector<TMenuEntry> entries;
  int count = ::GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    char text[512] = "";
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_CHECKMARKS;
    info.dwTypeData = text;
    info.cch = sizeof text;
    ::GetMenuItemInfoA(menu, position, TRUE, &info);
    bool separator = info.fType & MFT_SEPARATOR;
    entries.push_back(
        {separator ? "-" : text, info.wID, info.fType, info.hSubMenu, info.hbmpUnchecked, info.hbmpChecked});
  }
  return entries;
}

std::vector<std::string> Captions(HMENU menu) {
  std::vector<std::string> captions;
  for (const TMenuEntry& entry : ReadMenu(menu)) captions.push_back(entry.Text);
  return captions;
}

TShellMenu::TShellMenu(int items) : FMenu(::CreatePopupMenu()) {
  for (int i = 0; i < items; ++i)
    ::InsertMenuA(FMenu.get(), i, MF_BYPOSITION | MF_STRING, 1 + i, ("Shell item " + std::to_string(i)).c_str());
}

}  // namespace Testing
