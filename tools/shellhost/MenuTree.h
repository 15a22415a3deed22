// A real menu read back from the platform: captions, identifiers, separators, submenus and bitmaps.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace Host {

struct TMenuNode {
  int Position = 0;
  std::wstring Caption;
  UINT Id = 0;
  bool Separator = false;
  UINT State = 0;  // MFS_ flags: grayed, checked, default
  HMENU Submenu = nullptr;
  std::optional<SIZE> Bitmap;  // the size of the item's bitmap (check marks or item bitmap), when it has one
  std::vector<TMenuNode> Children;
};

std::vector<TMenuNode> ReadMenuTree(HMENU menu);

// The item that a path of captions names, such as "Tarnwick/Encrypt..."; accelerator marks (&) are ignored.
const TMenuNode* FindItem(const std::vector<TMenuNode>& tree, const std::wstring& captionPath);

}  // namespace Host
