// The registered classes as Windows merges them for a user: the user's own classes
// (HKEY_CURRENT_USER\Software\Classes) over the machine's (HKEY_CLASSES_ROOT).
#pragma once

#include "win32/Handles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace Host {

struct TClassKey {
  Win32::TRegKey Key;
  std::wstring Where;  // "HKCU\Software\Classes\<path>" or "HKCR\<path>"
  bool PerUser = false;
};

// The key in every root that has it, the user's first. Wine's HKEY_CLASSES_ROOT holds only the machine's
// classes, so the user's are read from their own place.
std::vector<TClassKey> OpenClassKeys(const std::wstring& path);

// The first root's key, or an empty one.
TClassKey OpenClassKey(const std::wstring& path);

// The default value of a key (or of its subkey), empty when there is none.
std::wstring DefaultValue(HKEY key, const std::wstring& subkey = L"");

}  // namespace Host
