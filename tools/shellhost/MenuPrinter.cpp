// Columns are aligned per submenu: captions, then identifiers, then what the handler says.
#include "MenuPrinter.h"

#include "tools/Text.h"

#include <algorithm>

namespace Host {

namespace {

std::string Padded(std::wstring text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), L' ');
  return Tools::Utf8(text);
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

void FormatLevel(const std::vector<TMenuNode>& nodes, const TCommandLookup& lookup, std::size_t depth,
                 std::string& out) {
  std::size_t captionWidth = 0, idWidth = 0;
  std::vector<std::optional<TCommandText>> commands;
  for (const TMenuNode& node : nodes) {
    commands.push_back(node.Submenu || node.Separator ? std::nullopt : lookup(node.Id));
    captionWidth = std::max(captionWidth, node.Caption.size());
    idWidth = std::max(idWidth, IdText(node, commands.back()).size());
  }
  std::string indent(2 * depth + 2, ' ');
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const TMenuNode& node = nodes[i];
    if (node.Separator) {
      out += indent + std::string(std::max<std::size_t>(captionWidth, 3), '-') + "\n";
      continue;
    }
    std::wstring details = IdText(node, commands[i]);
    std::wstring more = Attributes(node);
    if (commands[i] && !commands[i]->Help.empty()) more += (more.empty() ? L"" : L"  ") + commands[i]->Help;
    std::string line = indent + Padded(node.Caption, captionWidth) + "  " + Padded(details, idWidth);
    line += (details.empty() && idWidth == 0 ? "" : "  ") + Tools::Utf8(more);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line + "\n";
    if (node.Submenu) FormatLevel(node.Children, lookup, depth + 1, out);
  }
}

}  // namespace

std::string FormatMenuTree(const std::vector<TMenuNode>& tree, const TCommandLookup& lookup) {
  std::string out;
  FormatLevel(tree, lookup, 0, out);
  return out;
}

}  // namespace Host
