// GetFullPathNameW, sized in a first call, so no path is too long for it.
#include "Paths.h"

#include <windows.h>

namespace Tools {

std::wstring FullPath(const std::wstring& path) {
  DWORD length = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return path;
  std::wstring full(length, L'\0');
  length = ::GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
  if (length == 0 || length >= full.size()) return path;
  full.resize(length);
  // "C:\Data\" names the folder C:\Data; only a drive root keeps its backslash.
  while (full.size() > 3 && full.back() == L'\\') full.pop_back();
  return full;
}

}  // namespace Tools
