// SelectedFiles: the paths the user right-clicked, captured from the shell's data object and shared module-wide.
#pragma once

#include "NameList.h"

#include <windows.h>
#include <objidl.h>

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ContextM {

using TPathList = std::vector<std::string>;

struct TSelectedFiles {
  // In the system code page, in the data object's order; what the menu, help texts and command line use.
  TNameList<char> Paths;
  // Names that neither as they are nor by their short form fit the system code page: the main application
  // could not open them, so no command may start for this selection.
  TNameList<wchar_t> Unpassable;
};

// Null while absent. A captured selection is never changed, only replaced, so a snapshot stays valid
// without a lock.
using TSelection = std::shared_ptr<const TSelectedFiles>;

// From names already in the system code page.
TSelection MakeSelection(const TPathList& paths, const std::vector<std::wstring>& unpassable = {});

// From wide file-system paths (a shell item array's), by the same rule as a captured wide block: each name as
// it is or by its short form when the system code page holds that exactly, otherwise unpassable.
TSelection SelectionFromWideNames(std::span<const std::wstring_view> names);

TSelection SelectedFiles();
void SetSelectedFiles(TSelection selection);
// Hands out the selection and leaves it absent: a launched command spends it.
TSelection SpendSelectedFiles();

// Fills SelectedFiles from the data object's dropped-file list.
HRESULT CaptureSelection(IDataObject* dataObject);

}  // namespace ContextM
