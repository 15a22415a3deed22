// A menu as an indented tree of text, one item a line: the classic menu with each command's offset and help
// text, and the Explorer command tree with its flags, icons and tooltips, in the same columns.
#pragma once

#include "MenuTree.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Host {

// One line of a printed tree: the caption, a column such as the identifier, and what follows it.
struct TPrintedItem {
  std::wstring Caption;
  bool Separator = false;
  std::wstring Id;
  std::wstring Details;
  std::vector<TPrintedItem> Children;
};

// UTF-8 lines: captions and identifiers aligned per submenu, separators as a rule, submenus indented below.
std::string FormatTree(const std::vector<TPrintedItem>& items);

struct TCommandText {
  UINT Offset;        // relative to the first identifier granted to the item's handler
  std::wstring Help;  // its status-bar text
};
// What the handler that owns a command identifier says about it; nothing for an identifier of no handler.
using TCommandLookup = std::function<std::optional<TCommandText>(UINT id)>;

// "  Caption   id 1003 (+3)  help text".
std::string FormatMenuTree(const std::vector<TMenuNode>& tree, const TCommandLookup& lookup);

}  // namespace Host
