// SelectedFiles: the paths the user right-clicked, captured from the shell's data object and shared module-wide.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <memory>
#include <string>
#include <vector>

namespace ContextM {

using TPathList = std::vector<std::string>;

// Null while absent. A captured list is never changed, only replaced, so a snapshot stays valid without a lock.
using TSelection = std::shared_ptr<const TPathList>;

TSelection SelectedFiles();
void SetSelectedFiles(TSelection selection);
// Hands out the selection and leaves it absent: a launched command spends it.
TSelection SpendSelectedFiles();

// Fills SelectedFiles from the data object's dropped-file list; pathBuffer is the caller's scratch space.
// A name that the system code page cannot hold exactly leaves no selection at all.
HRESULT CaptureSelection(IDataObject* dataObject, std::wstring& pathBuffer);

}  // namespace ContextM
