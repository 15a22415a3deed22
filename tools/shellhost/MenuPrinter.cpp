// Columns are aligned per submenu: captions, then identifiers, then what the handler says.
#include "MenuPrinter.h"

#include "tools/ToolText.h"

#include <algorithm>

namespace Host {

namespace {

std::string Padded(std::wstring text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), L' ');
  return Tools::Utf8(text);
}

void FormatLevel(const std::vector<TPrintedItem>& items, std::size_t depth, std::string& out) {
  std::size_t captionWidth = 0, idWidth = 0;
  for (const TPrintedItem& item : items) {
    captionWidth = std::max(captionWidth, item.Caption.size());
    idWidth = std::max(idWidth, item.Id.size());
  }
  std::string indent(2 * depth + 2, ' ');
  for (const TPrintedItem& item : items) {
    if (item.Separator) {
      out += indent + std::string(std::max<std::size_t>(captionWidth, 3), '-') + "\n";
      continue;
    }
    std::string line = indent + Padded(item.Caption, captionWidth) + "  " + Padded(item.Id, idWidth);
    line += (item.Id.empty() && idWidth == 0 ? "" : "  ") + Tools::Utf8(item.Details);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line + "\n";
    FormatLevel(item.Children, depth + 1, out);
  }
}

std::wstring Attributes(const TMenuNode& node) {
  std::wstring attributes;
  auto add = [&](const std::wstring& attribute) { attributes += (attributes.empty() ? L"" : L", ") + attribute; };
  if (node.Submenu) add(L"submenu");
  if (node.Bitmap) add(L"bitmap " + std::to_wstring(node.Bitmap->cx) + L"x" + std::to_wstring(node.Bitmap->cy));
  if (node.State & MFS_GRAYED) add(L"grayed");
  if (node.State & MFS_CHECKED) add(L"checked");
  if (node.State & MFS_DEFAULT) add(L"default");
  return attributes;
}

std::wstring IdText(const TMenuNode& node, const std::optional<TCommandText>& command) {
  if (node.Submenu || node.Separator) return {};
  std::wstring text = L"id " + std::to_wstring(node.Id);
  if (command) text += L" (+" + std::to_wstring(command->Offset) + L")";
  return text;
}

std::vector<TPrintedItem> Printed(const std::vector<TMenuNode>& nodes, const TCommandLookup& lookup) {
  std::vector<TPrintedItem> items;
  for (const TMenuNode& node : nodes) {
    std::optional<TCommandText> command = node.Submenu || node.Separator ? std::nullopt : lookup(node.Id);
    std::wstring details = Attributes(node);
    if (command && !command->Help.empty()) details += (details.empty() ? L"" : L"  ") + command->Help;
    items.push_back({node.Caption, node.Separator, IdText(node, command), details, Printed(node.Children, lookup)});
  }
  return items;
}

}  // namespace

std::string FormatTree(const std::vector<TPrintedItem>& items) {
  std::string out;
  FormatLevel(items, 0, out);
  return out;
}

std::string FormatMenuTree(const std::vector<TMenuNode>& tree, const TCommandLookup& lookup) {
  return FormatTree(Printed(tree, lookup));
}

}  // namespace Host
