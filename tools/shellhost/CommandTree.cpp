// Each property is one step; an order is a list of steps, so every order reads the same properties.
#include "CommandTree.h"

#include "HostError.h"

#include <shlwapi.h>

#include <array>
#include <cstring>

namespace Host {

namespace {

// Explorer fetches subcommands a few at a time; so does the host, to take the enumerator's counting at its word.
constexpr ULONG EnumerationChunk = 4;

std::optional<std::wstring> TextOf(HRESULT result, LPWSTR text, const char* call) {
  Win32::TCoTaskString owned(text);
  if (result == E_NOTIMPL || result == S_FALSE) return std::nullopt;
  CheckCall(result, call);
  if (!text) return std::nullopt;
  return std::wstring(text);
}

using TStep = void (*)(TCommandNode&, IShellItemArray*, TCallOrder);

void Title(TCommandNode& node, IShellItemArray* items, TCallOrder) {
  LPWSTR text = nullptr;
  HRESULT result = node.Command->GetTitle(items, &text);
  node.Title = TextOf(result, text, "IExplorerCommand::GetTitle");
}

void Icon(TCommandNode& node, IShellItemArray* items, TCallOrder) {
  LPWSTR text = nullptr;
  HRESULT result = node.Command->GetIcon(items, &text);
  node.Icon = TextOf(result, text, "IExplorerCommand::GetIcon");
}

void ToolTip(TCommandNode& node, IShellItemArray* items, TCallOrder) {
  LPWSTR text = nullptr;
  HRESULT result = node.Command->GetToolTip(items, &text);
  node.ToolTip = TextOf(result, text, "IExplorerCommand::GetToolTip");
}

void Flags(TCommandNode& node, IShellItemArray*, TCallOrder) {
  CheckCall(node.Command->GetFlags(&node.Flags), "IExplorerCommand::GetFlags");
}

void State(TCommandNode& node, IShellItemArray* items, TCallOrder) {
  node.QuickState = node.Command->GetState(items, FALSE, &node.State);
  if (node.QuickState != E_PENDING) return CheckCall(node.QuickState, "IExplorerCommand::GetState");
  CheckCall(node.Command->GetState(items, TRUE, &node.State), "IExplorerCommand::GetState (okToBeSlow TRUE)");
}

void Children(TCommandNode& node, IShellItemArray* items, TCallOrder order) {
  if (!(node.Flags & ECF_HASSUBCOMMANDS)) return;
  Win32::TComRef<IEnumExplorerCommand> enumerator;
  CheckCall(node.Command->EnumSubCommands(enumerator.put()), "IExplorerCommand::EnumSubCommands");
  for (HRESULT result = S_OK; result == S_OK;) {
    std::array<IExplorerCommand*, EnumerationChunk> chunk{};
    ULONG fetched = 0;
    result = enumerator->Next(EnumerationChunk, chunk.data(), &fetched);
    CheckCall(result, "IEnumExplorerCommand::Next");
    if (fetched == 0) break;
    for (ULONG i = 0; i < fetched && i < EnumerationChunk; ++i)
      node.Children.push_back(ReadCommandTree(Win32::TComRef<IExplorerCommand>(chunk[i]), items, order));
  }
}

// The orders seen in hosts: state first as Explorer does, the title first, and enumeration before the title.
const std::array<TStep, 6>& StepsOf(TCallOrder order) {
  static const std::array<TStep, 6> explorer{State, Title, Icon, ToolTip, Flags, Children};
  static const std::array<TStep, 6> titleFirst{Title, Flags, Children, Icon, ToolTip, State};
  static const std::array<TStep, 6> enumFirst{ToolTip, Flags, Children, Title, Icon, State};
  switch (order) {
    case TCallOrder::coTitleFirst: return titleFirst;
    case TCallOrder::coEnumFirst: return enumFirst;
    case TCallOrder::coExplorer: break;
  }
  return explorer;
}

// The widths of an icon group resource; width 0 stands for 256.
std::vector<int> IconSizes(const std::wstring& location) {
  std::array<wchar_t, MAX_PATH * 2> path{};
  if (location.size() >= path.size()) return {};
  std::memcpy(path.data(), location.c_str(), location.size() * sizeof(wchar_t));
  int index = ::PathParseIconLocationW(path.data());
  if (index >= 0) return {};  // only resource identifiers, as the library's locations give them
  Win32::TLibrary module(
      ::LoadLibraryExW(path.data(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  HRSRC resource =
      module ? ::FindResourceW(module.get(), MAKEINTRESOURCEW(-index), reinterpret_cast<LPCWSTR>(RT_GROUP_ICON))
             : nullptr;
  const BYTE* group =
      resource ? static_cast<const BYTE*>(::LockResource(::LoadResource(module.get(), resource))) : nullptr;
  if (!group) return {};
  constexpr std::size_t HeaderSize = 6, EntrySize = 14;
  WORD count;
  std::memcpy(&count, group + 4, sizeof count);
  std::vector<int> sizes;
  for (WORD i = 0; i < count; ++i)
    sizes.push_back(group[HeaderSize + i * EntrySize] ? group[HeaderSize + i * EntrySize] : 256);
  return sizes;
}

}  // namespace

TCommandNode ReadCommandTree(Win32::TComRef<IExplorerCommand> command, IShellItemArray* items, TCallOrder order) {
  TCommandNode node;
  node.Command = std::move(command);
  for (TStep step : StepsOf(order)) step(node, items, order);
  return node;
}

std::wstring NodeAttributes(const TCommandNode& node) {
  std::wstring attributes;
  auto add = [&](const std::wstring& attribute) { attributes += (attributes.empty() ? L"" : L", ") + attribute; };
  if (node.Flags & ECF_HASSUBCOMMANDS) add(L"submenu");
  if (node.Icon) {
    std::wstring sizes;
    for (int size : IconSizes(*node.Icon)) sizes += (sizes.empty() ? L"" : L", ") + std::to_wstring(size);
    add(sizes.empty() ? L"icon " + *node.Icon + L" (not found)" : L"icon " + sizes);
  }
  if (node.State & ECS_HIDDEN) add(L"hidden");
  if (node.State & ECS_DISABLED) add(L"disabled");
  if (node.State & ECS_CHECKED) add(L"checked");
  return attributes;
}

const TCommandNode* FindCommand(const TCommandNode& root, const std::wstring& titlePath) {
  std::size_t slash = titlePath.find(L'/');
  std::wstring first = titlePath.substr(0, slash);
  if (!root.Title || *root.Title != first) return nullptr;
  if (slash == std::wstring::npos) return &root;
  for (const TCommandNode& child : root.Children)
    if (const TCommandNode* found = FindCommand(child, titlePath.substr(slash + 1))) return found;
  return nullptr;
}

}  // namespace Host
