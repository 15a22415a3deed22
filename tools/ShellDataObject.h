// The shell's own data object for files of one folder, obtained the way Explorer gets it for a selection.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <string>
#include <vector>

namespace Tools {

// Null when the shell does not know the folder or one of the names; the caller releases the object.
IDataObject* ShellDataObject(const std::wstring& folder, const std::vector<std::wstring>& names);

}  // namespace Tools
