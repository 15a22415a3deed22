// The file a loaded module came from, however long its path.
#pragma once

#include <windows.h>

#include <string>

namespace Win32 {

// The module's full path (the program's for null); empty when the system cannot say. A path that does not fit
// comes back cut to the buffer's size, so the buffer grows until one fits with room to spare.
inline std::wstring ModulePath(HMODULE module = nullptr) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

}  // namespace Win32
