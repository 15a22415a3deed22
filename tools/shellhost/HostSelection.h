// The selected files and folders: full paths, all in one folder, as a right-click in Explorer gives them.
#pragma once

#include "win32/Handles.h"

#include <windows.h>
#include <shtypes.h>

#include <string>
#include <vector>

namespace Host {

struct TSelectedItem {
  std::wstring Path;  // full path
  std::wstring Name;  // its last part
  bool IsFolder = false;
};

using Win32::TItemIdList;

class THostSelection {
public:
  // Raises EHostError ecNoSuchPath for a path that does not exist, ecUsage for paths in several folders.
  explicit THostSelection(const std::vector<std::wstring>& paths);

  const std::wstring& Folder() const { return FFolder; }
  const std::vector<TSelectedItem>& Items() const { return FItems; }

  // The parent folder's absolute item list, as the shell hands it to IShellExtInit::Initialize.
  TItemIdList FolderIdList() const;
  // The shell's own data object for the items; raises EHostError when the shell does not know them.
  Win32::TComRef<IDataObject> DataObject() const;

private:
  std::wstring FFolder;
  std::vector<TSelectedItem> FItems;
};

}  // namespace Host
