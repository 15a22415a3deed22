// Messages of the frame's failures.
#include "Exceptions.h"

#include "win32/ComText.h"
#include "win32/Text.h"

#include <cstdint>

namespace ComObj {

namespace {

std::string OleErrorText(HRESULT code) { return "OLE error " + Win32::HexDigits(static_cast<std::uint32_t>(code)); }

std::string MessageFor(const std::string& given, HRESULT code) {
  if (!given.empty()) return given;
  if (std::string system = SystemErrorText(code); !system.empty()) return system;
  return OleErrorText(code);
}

}  // namespace

std::string SystemErrorText(HRESULT code) {
  std::string text = Win32::Narrowed(Win32::SystemMessage(code));
  auto trailing = [](char c) { return static_cast<unsigned char>(c) <= 0x20 || c == '.'; };
  while (!text.empty() && trailing(text.back())) text.pop_back();
  return text;
}

EOleSysError::EOleSysError(const std::string& message, HRESULT resultCode, int helpContext)
    : EOleError(MessageFor(message, resultCode), helpContext), FResultCode(resultCode) {}

void RaiseOleError(HRESULT code) { throw EOleSysError("", code, 0); }

}  // namespace ComObj
