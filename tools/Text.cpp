// MultiByteToWideChar and WideCharToMultiByte, sized in a first call.
#include "Text.h"

#include <windows.h>

namespace Tools {

namespace {

std::wstring ToWide(UINT codePage, const std::string& text) {
  if (text.empty()) return {};
  int length = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

}  // namespace

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int length =
      ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr,
                        nullptr);
  return narrow;
}

std::wstring FromUtf8(const std::string& text) { return ToWide(CP_UTF8, text); }

std::wstring FromAnsi(const std::string& text) { return ToWide(CP_ACP, text); }

}  // namespace Tools
