// The extended invoke record, with the verb given as an offset in both its ANSI and its wide field.
#include "Invocation.h"

#include "tools/ToolText.h"
#include "win32/Text.h"

#include <shellapi.h>

namespace Host {

namespace {

bool IsNumber(const std::wstring& text) {
  return !text.empty() && text.find_first_not_of(L"0123456789") == std::wstring::npos;
}

TInvocation ByOffset(const THostedMenu& menu, const std::wstring& item) {
  if (menu.Handlers().size() != 1)
    throw EHostError(TExitCode::ecNoSuchItem,
                     "Several handlers share the menu: name the item by its captions, such as \"Tarnwick/Encrypt...\"");
  // An offset travels in the low 16 bits of the verb.
  if (item.size() > 5 || std::stoul(item) > 0xFFFF)
    throw EHostError(TExitCode::ecUsage, "An offset is a number below 65536: " + Tools::Utf8(item));
  return {item, &menu.Handlers().front(), static_cast<UINT>(std::stoul(item))};
}

TInvocation ByCaptions(const THostedMenu& menu, const std::vector<TMenuNode>& tree, const std::wstring& item) {
  const TMenuNode* node = FindItem(tree, item);
  if (!node) throw EHostError(TExitCode::ecNoSuchItem, "The menu has no item " + Tools::Utf8(item));
  if (node->Submenu)
    throw EHostError(TExitCode::ecNoSuchItem, Tools::Utf8(item) + " opens a submenu; it is not a command");
  std::optional<THostedMenu::TCommand> command = menu.CommandOf(node->Id);
  if (!command)
    throw EHostError(TExitCode::ecNoSuchItem, Tools::Utf8(item) + " has the identifier " + std::to_string(node->Id) +
                                                  ", which no handler reserved");
  return {item, command->Handler, command->Offset};
}

}  // namespace

TInvocation ResolveInvocation(const THostedMenu& menu, const std::vector<TMenuNode>& tree, const std::wstring& item) {
  return IsNumber(item) ? ByOffset(menu, item) : ByCaptions(menu, tree, item);
}

void Invoke(const TInvocation& invocation, HWND owner, int show, const std::wstring& folder) {
  std::string ansiFolder = Win32::Narrowed(folder);
  CMINVOKECOMMANDINFOEX info{};
  info.cbSize = sizeof info;
  info.fMask = CMIC_MASK_UNICODE;
  info.hwnd = owner;
  info.lpVerb = MAKEINTRESOURCEA(invocation.Offset);
  info.lpVerbW = MAKEINTRESOURCEW(invocation.Offset);
  info.lpDirectory = ansiFolder.c_str();
  info.lpDirectoryW = folder.c_str();
  info.nShow = show;
  CheckCall(invocation.Handler->Menu->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&info)),
            "IContextMenu::InvokeCommand");
}

}  // namespace Host
