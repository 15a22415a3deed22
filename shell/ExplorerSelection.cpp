// Shell item arrays as selections, and the selection-taking help text and launch the Explorer command uses.
#include "ExplorerSelection.h"

#include "HelpText.h"
#include "Launch.h"
#include "win32/Handles.h"
#include "win32/Text.h"

namespace ContextM {

namespace {

std::optional<std::wstring> FileSystemPathOf(IShellItemArray& items, DWORD index) {
  Win32::TComRef<IShellItem> item;
  if (FAILED(items.GetItemAt(index, item.put()))) return std::nullopt;
  Win32::TCoTaskString path;
  if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, path.put())) || !path) return std::nullopt;
  return std::wstring(path.get());
}

}  // namespace

std::vector<std::wstring> FileSystemPaths(IShellItemArray* items) {
  std::vector<std::wstring> paths;
  DWORD count = 0;
  if (!items || FAILED(items->GetCount(&count))) return paths;
  for (DWORD index = 0; index < count; ++index)
    if (std::optional<std::wstring> path = FileSystemPathOf(*items, index)) paths.push_back(std::move(*path));
  return paths;
}

TSelection SelectionOfItems(IShellItemArray* items) {
  std::vector<std::wstring> paths = FileSystemPaths(items);
  if (paths.empty()) return nullptr;
  std::vector<std::wstring_view> names(paths.begin(), paths.end());
  return SelectionFromWideNames(names);
}

TShownCommands ShownFor(const TOptionValues& options, const TSelection& selection) {
  return ShownCommands(options, *selection);
}

std::optional<std::wstring> WideHelpTextOf(const TCommand& command, const TSelection& selection) {
  std::optional<std::string> text = HelpTextOf(OffsetOf(command), selection.get());
  if (!text) return std::nullopt;
  return Win32::Widened(*text);
}

HRESULT LaunchForItems(const TCommand& command, const TSelection& selection, HWND owner) {
  TLaunchSite site{owner, SW_SHOWNORMAL, true};
  std::optional<std::string> exeName = ExeNameFor(site);
  if (!exeName) return E_UNEXPECTED;
  return LaunchCommand(command, *selection, *exeName, site);
}

}  // namespace ContextM
