// UTF-16 to and from a code page (the system's ANSI one unless named), and numbers as digits without printf.
#pragma once

#include <windows.h>

#include <cstdint>
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

// A 32-bit value as eight upper-case hexadecimal digits, as "%08X" writes it; by hand, for the same reason.
inline std::string HexDigits(std::uint32_t value) {
  std::string digits(8, '0');
  for (auto digit = digits.rbegin(); value != 0; ++digit, value >>= 4) *digit = "0123456789ABCDEF"[value & 0xF];
  return digits;
}

}  // namespace Win32
