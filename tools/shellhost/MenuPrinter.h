// The menu as an indented tree of text, one item a line, with each command's offset and help text.
#pragma once

#include "MenuTree.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Host {

struct TCommandText {
  UINT Offset;        // relative to the first identifier granted to the item's handler
  std::wstring Help;  // its status-bar text
};
// What the handler that owns a command identifier says about it; nothing for an identifier of no handler.
using TCommandLookup = std::function<std::optional<TCommandText>(UINT id)>;

// UTF-8 lines: "  Caption   id 1003 (+3)  help text", separators as a rule, submenus indented below their item.
std::string FormatMenuTree(const std::vector<TMenuNode>& tree, const TCommandLookup& lookup);

}  // namespace Host
