// Desktop folder, ParseDisplayName, BindToObject, GetUIObjectOf: the shell's path to a selection's data object.
#include "ShellDataObject.h"

#include "win32/Handles.h"

#include <shlobj.h>

#include <memory>

namespace Tools {

namespace {

struct TCoTaskMemFree {
  void operator()(void* memory) const { ::CoTaskMemFree(memory); }
};
using TShellFolder = Win32::TComRef<IShellFolder>;
using TItemId = std::unique_ptr<ITEMIDLIST, TCoTaskMemFree>;

TItemId Parse(IShellFolder& folder, const std::wstring& name) {
  PIDLIST_RELATIVE item = nullptr;
  folder.ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(name.c_str()), nullptr, &item, nullptr);
  return TItemId(item);
}

TShellFolder Bind(IShellFolder& parent, const ITEMIDLIST* item) {
  IShellFolder* folder = nullptr;
  parent.BindToObject(item, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder));
  return TShellFolder(folder);
}

}  // namespace

IDataObject* ShellDataObject(const std::wstring& folderPath, const std::vector<std::wstring>& names) {
  IShellFolder* desktopFolder = nullptr;
  if (FAILED(::SHGetDesktopFolder(&desktopFolder))) return nullptr;
  TShellFolder desktop(desktopFolder);
  TItemId folderId = Parse(*desktop.get(), folderPath);
  TShellFolder folder = folderId ? Bind(*desktop.get(), folderId.get()) : TShellFolder();
  if (!folder) return nullptr;

  std::vector<TItemId> items;
  std::vector<PCUITEMID_CHILD> children;
  for (const std::wstring& name : names) {
    if (!items.emplace_back(Parse(*folder.get(), name))) return nullptr;
    children.push_back(items.back().get());
  }
  IDataObject* data = nullptr;
  folder.get()->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()), children.data(), IID_IDataObject, nullptr,
                        reinterpret_cast<void**>(&data));
  return data;
}

}  // namespace Tools
