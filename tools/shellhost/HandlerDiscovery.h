// Which context-menu handlers the registry names for a selection, and the file type's key.
#pragma once

#include "ClassesView.h"
#include "HostSelection.h"

#include <windows.h>

#include <string>
#include <vector>

namespace Host {

struct THandlerEntry {
  CLSID Class;
  std::wstring Source;  // the key that names it, e.g. HKCR\*\shellex\ContextMenuHandlers\Tarnwick
  bool PerUser = false;
};

struct THandlerSearch {
  std::vector<std::wstring> Keys;  // the class keys searched, in order
  std::vector<THandlerEntry> Handlers;
};

// The class keys whose handlers apply to an item: for a file its type's ProgID, "*" and AllFilesystemObjects;
// for a folder Directory, Folder and AllFilesystemObjects.
std::vector<std::wstring> HandlerKeysFor(const TSelectedItem& item);

// The handlers below each key's shellex\ContextMenuHandlers, each class once, in the order of the keys. As in
// Explorer, the first selected item's type decides for the whole selection.
THandlerSearch FindHandlers(const TSelectedItem& first);

// The key of the item's file type for IShellExtInit::Initialize: the ProgID's, else the extension's, else "*";
// Directory for a folder.
TClassKey OpenTypeKey(const TSelectedItem& item);

}  // namespace Host
