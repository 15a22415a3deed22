// Messages of the frame's failures.
#include "Exceptions.h"

#include <cstdint>

namespace ComObj {

namespace {

// Eight upper-case hex digits; written by hand, since the formatted-printing routines would add a fifth to
// the library's size.
std::string OleErrorText(HRESULT code) {
  std::string text = "OLE error 00000000";
  auto bits = static_cast<std::uint32_t>(code);
  for (auto digit = text.rbegin(); bits != 0; ++digit, bits >>= 4) *digit = "0123456789ABCDEF"[bits & 0xF];
  return text;
}

std::string MessageFor(const std::string& given, HRESULT code) {
  if (!given.empty()) return given;
  if (std::string system = SystemErrorText(code); !system.empty()) return system;
  return OleErrorText(code);
}

}  // namespace

std::string SystemErrorText(HRESULT code) {
  char buffer[256];
  // No argument list exists, so insertion points such as %1 stay as they are instead of being read from it.
  DWORD length =
      ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(code), 0, buffer, sizeof buffer, nullptr);
  auto trailing = [](char c) { return static_cast<unsigned char>(c) <= 0x20 || c == '.'; };
  while (length > 0 && trailing(buffer[length - 1])) --length;
  return std::string(buffer, length);
}

EOleSysError::EOleSysError(const std::string& message, HRESULT resultCode, int helpContext)
    : EOleError(MessageFor(message, resultCode), helpContext), FResultCode(resultCode) {}

void RaiseOleError(HRESULT code) { throw EOleSysError("", code, 0); }

}  // namespace ComObj
