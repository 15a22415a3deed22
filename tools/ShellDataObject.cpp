// Desktop folder, ParseDisplayName, BindToObject, GetUIObjectOf: the shell's path to a selection's data object.
#include "ShellDataObject.h"

#include "win32/Handles.h"

#include <shlobj.h>

namespace Tools {

namespace {

using TShellFolder = Win32::TComRef<IShellFolder>;
using TItemId = Win32::TItemIdList;

TItemId Parse(IShellFolder& folder, const std::wstring& name) {
  PIDLIST_RELATIVE item = nullptr;
  folder.ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(name.c_str()), nullptr, &item, nullptr);
  return TItemId(item);
}

TShellFolder Bind(IShellFolder& parent, const ITEMIDLIST* item) {
  TShellFolder folder;
  parent.BindToObject(item, nullptr, IID_PPV_ARGS(folder.put()));
  return folder;
}

}  // namespace

Win32::TComRef<IDataObject> ShellDataObject(const std::wstring& folderPath, const std::vector<std::wstring>& names) {
  TShellFolder desktop;
  if (FAILED(::SHGetDesktopFolder(desktop.put()))) return {};
  TItemId folderId = Parse(*desktop, folderPath);
  TShellFolder folder = folderId ? Bind(*desktop, folderId.get()) : TShellFolder();
  if (!folder) return {};

  std::vector<TItemId> items;
  std::vector<PCUITEMID_CHILD> children;
  for (const std::wstring& name : names) {
    if (!items.emplace_back(Parse(*folder, name))) return {};
    children.push_back(items.back().get());
  }
  Win32::TComRef<IDataObject> data;
  folder->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()), children.data(), data.iid(), nullptr,
                        data.put_void());
  return data;
}

}  // namespace Tools
