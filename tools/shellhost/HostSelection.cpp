// Full paths, existence and the one parent folder; the shell's item list and data object for them.
#include "HostSelection.h"

#include "HostError.h"
#include "tools/Paths.h"
#include "tools/ToolText.h"
#include "tools/ShellDataObject.h"

#include <shlobj.h>

namespace Host {

namespace {

bool SameText(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

TSelectedItem Examine(const std::wstring& given, std::wstring& folder) {
  std::wstring path = Tools::FullPath(given);
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES)
    throw EHostError(TExitCode::ecNoSuchPath, "No such file or folder: " + Tools::Utf8(given));
  std::size_t slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos || slash + 1 == path.size())
    throw EHostError(TExitCode::ecUsage, "A drive itself cannot be selected: " + Tools::Utf8(given));
  // The parent of "C:\name" is "C:\", of "C:\a\name" it is "C:\a".
  folder = path.substr(0, slash == 2 ? 3 : slash);
  return {path, path.substr(slash + 1), (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0};
}

}  // namespace

THostSelection::THostSelection(const std::vector<std::wstring>& paths) {
  for (const std::wstring& given : paths) {
    std::wstring folder;
    FItems.push_back(Examine(given, folder));
    if (FItems.size() == 1)
      FFolder = folder;
    else if (!SameText(folder, FFolder))
      throw EHostError(TExitCode::ecUsage, "All selected items must be in one folder, as in Explorer: " +
                                               Tools::Utf8(FItems.back().Path) + " is not in " + Tools::Utf8(FFolder));
  }
}

TItemIdList THostSelection::FolderIdList() const {
  PIDLIST_ABSOLUTE folder = nullptr;
  CheckCall(::SHParseDisplayName(FFolder.c_str(), nullptr, &folder, 0, nullptr),
            "SHParseDisplayName of " + Tools::Utf8(FFolder));
  return TItemIdList(folder);
}

Win32::TComRef<IDataObject> THostSelection::DataObject() const {
  std::vector<std::wstring> names;
  for (const TSelectedItem& item : FItems) names.push_back(item.Name);
  Win32::TComRef<IDataObject> data = Tools::ShellDataObject(FFolder, names);
  if (!data) throw EHostError(TExitCode::ecCallFailed, "The shell gives no data object for the selection");
  return data;
}

}  // namespace Host
