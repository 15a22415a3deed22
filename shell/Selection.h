// SelectedFiles: the paths the user right-clicked, captured from the shell's data object and shared module-wide.
#pragma once

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
  TPathList Paths;
  // Names that neither as they are nor by their short form fit the system code page: the main application
  // could not open them, so no command may start for this selection.
  std::vector<std::wstring> Unpassable;
};

// Null while absent. A captured selection is never changed, only replaced, so a snapshot stays valid
// without a lock.
using TSelection = std::shared_ptr<const TSelectedFiles>;

TSelection MakeSelection(TPathList paths, std::vector<std::wstring> unpassable = {});

TSelection SelectedFiles();
void SetSelectedFiles(TSelection selection);
// Hands out the selection and leaves it absent: a launched command spends it.
TSelection SpendSelectedFiles();

// Wide names, each converted as a captured one is: as it stands or by its short form; never module-wide.
TSelection SelectionFromWideNames(std::span<const std::wstring_view> names);

// Fills SelectedFiles from the data object's dropped-file list.
HRESULT CaptureSelection(IDataObject* dataObject);

}  // namespace ContextM
