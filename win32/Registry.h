// String values written as the registry stores them, and the keys that hold them created on the way.
#pragma once

#include "Handles.h"

#include <windows.h>

#include <string>

namespace Win32 {

// A string value (REG_SZ unless another string type is named) with its ending NUL; an empty name writes the key's
// default value. The registry's status.
inline LONG SetStringValue(HKEY key, const std::string& name, const std::string& value, DWORD type = REG_SZ) {
  return ::RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
}

inline LONG SetStringValue(HKEY key, const std::wstring& name, const std::wstring& value, DWORD type = REG_SZ) {
  return ::RegSetValueExW(key, name.empty() ? nullptr : name.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// The same, below a key created as needed.
inline LONG WriteStringValue(HKEY root, const std::string& path, const std::string& name, const std::string& value,
                             DWORD type = REG_SZ) {
  TRegKey key;
  LONG status = ::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr);
  return status == ERROR_SUCCESS ? SetStringValue(key.get(), name, value, type) : status;
}

inline LONG WriteStringValue(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value,
                             DWORD type = REG_SZ) {
  TRegKey key;
  LONG status = ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr);
  return status == ERROR_SUCCESS ? SetStringValue(key.get(), name, value, type) : status;
}

}  // namespace Win32
