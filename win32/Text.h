// Conversions between UTF-16 and a code page (the system's ANSI one unless named), each sized in a first call.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace Win32 {

inline std::wstring Widened(std::string_view text, UINT codePage = CP_ACP, DWORD flags = 0) {
  if (text.empty()) return {};
  int size = static_cast<int>(text.size());
  int length = ::MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  ::MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), length);
  return wide;
}

inline std::string Narrowed(std::wstring_view text, UINT codePage = CP_ACP, DWORD flags = 0) {
  if (text.empty()) return {};
  int size = static_cast<int>(text.size());
  int length = ::WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  ::WideCharToMultiByte(codePage, flags, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

// A number in decimal digits, by hand: the C++ library's formatted printing would be linked in for it.
inline std::wstring DecimalText(std::size_t number) {
  std::wstring digits;
  do digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + number % 10));
  while ((number /= 10) != 0);
  return digits;
}

}  // namespace Win32
