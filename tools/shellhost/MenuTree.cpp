// GetMenuItemInfoW for every item, and GetObject for the size of its bitmap.
#include "MenuTree.h"

namespace Host {

namespace {

std::optional<SIZE> BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  // Predefined item bitmaps such as HBMMENU_CALLBACK are small numbers, not GDI objects.
  if (reinterpret_cast<UINT_PTR>(bitmap) <= reinterpret_cast<UINT_PTR>(HBMMENU_POPUP_MINIMIZE) ||
      !::GetObjectW(bitmap, sizeof info, &info))
    return std::nullopt;
  return SIZE{info.bmWidth, info.bmHeight};
}

TMenuNode ReadItem(HMENU menu, int position) {
  wchar_t caption[512] = L"";
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_BITMAP;
  info.dwTypeData = caption;
  info.cch = ARRAYSIZE(caption);
  ::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);

  TMenuNode node;
  node.Position = position;
  node.Separator = (info.fType & MFT_SEPARATOR) != 0;
  node.Caption = node.Separator ? L"" : caption;
  node.Id = info.hSubMenu ? 0 : info.wID;
  node.State = info.fState;
  node.Submenu = info.hSubMenu;
  for (HBITMAP bitmap : {info.hbmpUnchecked, info.hbmpChecked, info.hbmpItem})
    if (!node.Bitmap) node.Bitmap = BitmapSize(bitmap);
  if (node.Submenu) node.Children = ReadMenuTree(node.Submenu);
  return node;
}

std::wstring WithoutAccelerators(const std::wstring& caption) {
  std::wstring plain;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;  // "&&" stands for one "&"
    plain += caption[i];
  }
  return plain;
}

}  // namespace

std::vector<TMenuNode> ReadMenuTree(HMENU menu) {
  std::vector<TMenuNode> nodes;
  int count = ::GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) nodes.push_back(ReadItem(menu, position));
  return nodes;
}

const TMenuNode* FindItem(const std::vector<TMenuNode>& tree, const std::wstring& captionPath) {
  std::size_t slash = captionPath.find(L'/');
  std::wstring first = captionPath.substr(0, slash);
  for (const TMenuNode& node : tree) {
    if (node.Separator || WithoutAccelerators(node.Caption) != first) continue;
    if (slash == std::wstring::npos) return &node;
    if (const TMenuNode* found = FindItem(node.Children, captionPath.substr(slash + 1))) return found;
  }
  return nullptr;
}

}  // namespace Host
