// The shell's own data object for files of one folder, obtained the way Explorer gets it for a selection.
#pragma once

#include "win32/Handles.h"

#include <windows.h>
#include <objidl.h>

#include <string>
#include <vector>

namespace Tools {

// Empty when the shell does not know the folder or one of the names.
Win32::TComRef<IDataObject> ShellDataObject(const std::wstring& folder, const std::vector<std::wstring>& names);

}  // namespace Tools
