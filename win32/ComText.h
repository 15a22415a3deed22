// Class identifiers and result codes as the registry and the system write them.
#pragma once

#include "Handles.h"

#include <windows.h>
#include <objbase.h>

#include <string>

namespace Win32 {

// "{5D3E8A41-7C2B-4F96-A1E0-3B9C6D2F8E17}": 38 characters and the NUL always fit, so nothing can fail.
inline std::wstring ClassIdText(const GUID& classId) {
  wchar_t text[39] = L"";
  ::StringFromGUID2(classId, text, ARRAYSIZE(text));
  return text;
}

// The system's message for a result code as FormatMessage writes it, line break and all; empty when there is none.
inline std::wstring SystemMessage(HRESULT code) {
  TLocalText text;
  // No argument list exists, so insertion points such as %1 stay as they are instead of being read from it.
  DWORD length =
      ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                       nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<LPWSTR>(text.put()), 0, nullptr);
  return length ? std::wstring(text.get(), length) : std::wstring();
}

}  // namespace Win32
