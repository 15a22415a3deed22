// Shell item arrays as selections, and the selection-taking help text and launch the Explorer command uses.
#include "ExplorerSelection.h"

#include "HelpText.h"
#include "Launch.h"
#include "win32/Handles.h"
#include "win32/Text.h"

#include <shlobj.h>

#include <algorithm>
#include <cstddef>
#include <span>

namespace ContextM {

namespace {

// An item's file-system path, asked of its parent folder: the parsing name of an item that is part of the file
// system, which is what SIGDN_FILESYSPATH answers. A selection's items nearly always share one parent, and the
// folder is bound once for them all; Wine's IShellItem binds it from the desktop again for every item, about a
// millisecond each. Whatever the fast way cannot answer, the item answers itself: an item of a host's own that
// offers no ID list is still the file its SIGDN_FILESYSPATH names.
class TParentFolder {
public:
  std::optional<std::wstring> PathOf(IShellItem& item) {
    Win32::TItemIdList id;
    if (FAILED(::SHGetIDListFromObject(&item, id.put())) || !id) return ItemsOwnPath(item);
    if (id.get()->mkid.cb == 0) return ItemsOwnPath(item);  // the desktop itself has no parent to ask
    PCUITEMID_CHILD child = ::ILFindLastID(id.get());
    if (!Holds(*id.get(), child) && !Bind(*id.get(), child)) return ItemsOwnPath(item);
    SFGAOF attributes = SFGAO_FILESYSTEM;
    if (FAILED(FFolder->GetAttributesOf(1, &child, &attributes))) return ItemsOwnPath(item);
    if (!(attributes & SFGAO_FILESYSTEM)) return std::nullopt;
    STRRET name{};
    if (FAILED(FFolder->GetDisplayNameOf(child, SHGDN_FORPARSING, &name))) return ItemsOwnPath(item);
    if (name.uType != STRRET_WSTR) return ItemsOwnPath(item);  // no folder of the file system answers otherwise
    Win32::TCoTaskString path(name.pOleStr);
    return path ? std::optional<std::wstring>(path.get()) : std::nullopt;
  }

private:
  static std::span<const std::byte> ParentPart(const ITEMIDLIST& id, PCUITEMID_CHILD child) {
    return {reinterpret_cast<const std::byte*>(&id), reinterpret_cast<const std::byte*>(child)};
  }

  bool Holds(const ITEMIDLIST& id, PCUITEMID_CHILD child) const {
    std::span<const std::byte> parent = ParentPart(id, child);
    return FFolder && std::equal(parent.begin(), parent.end(), FParentId.begin(), FParentId.end());
  }

  bool Bind(const ITEMIDLIST& id, PCUITEMID_CHILD child) {
    FFolder = {};
    FParentId.clear();
    if (FAILED(::SHBindToParent(&id, IID_PPV_ARGS(FFolder.put()), nullptr))) return false;
    std::span<const std::byte> parent = ParentPart(id, child);
    FParentId.assign(parent.begin(), parent.end());
    return true;
  }

  static std::optional<std::wstring> ItemsOwnPath(IShellItem& item) {
    Win32::TCoTaskString path;
    if (FAILED(item.GetDisplayName(SIGDN_FILESYSPATH, path.put())) || !path) return std::nullopt;
    return std::wstring(path.get());
  }

  Win32::TComRef<IShellFolder> FFolder;
  std::vector<std::byte> FParentId;  // the bound folder's id list, without its terminator
};

}  // namespace

std::vector<std::wstring> FileSystemPaths(IShellItemArray* items, std::size_t most) {
  std::vector<std::wstring> paths;
  DWORD count = 0;
  if (!items || FAILED(items->GetCount(&count))) return paths;
  TParentFolder parent;
  for (DWORD index = 0; index < count && paths.size() < most; ++index) {
    Win32::TComRef<IShellItem> item;
    if (FAILED(items->GetItemAt(index, item.put()))) continue;
    if (std::optional<std::wstring> path = parent.PathOf(*item.get())) paths.push_back(std::move(*path));
  }
  return paths;
}

TSelection SelectionOfItems(IShellItemArray* items, std::size_t most) {
  std::vector<std::wstring> paths = FileSystemPaths(items, most);
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
