// An HRESULT described: its value, COM's name for it, and the system's message text.
#include "HostError.h"

#include "tools/ToolText.h"
#include "win32/ComText.h"
#include "win32/Text.h"

#include <array>
#include <utility>

namespace Host {

namespace {

// COM's names for the results a host meets most; Wine's system texts lack some of them (REGDB_E_CLASSNOTREG).
constexpr std::array<std::pair<HRESULT, const char*>, 12> ResultNames{{
    {REGDB_E_CLASSNOTREG, "REGDB_E_CLASSNOTREG"},
    {CLASS_E_CLASSNOTAVAILABLE, "CLASS_E_CLASSNOTAVAILABLE"},
    {CLASS_E_NOAGGREGATION, "CLASS_E_NOAGGREGATION"},
    {CO_E_NOTINITIALIZED, "CO_E_NOTINITIALIZED"},
    {E_NOINTERFACE, "E_NOINTERFACE"},
    {E_POINTER, "E_POINTER"},
    {E_INVALIDARG, "E_INVALIDARG"},
    {E_NOTIMPL, "E_NOTIMPL"},
    {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
    {E_ACCESSDENIED, "E_ACCESSDENIED"},
    {E_UNEXPECTED, "E_UNEXPECTED"},
    {E_FAIL, "E_FAIL"},
}};

const char* ResultName(HRESULT result) {
  for (const auto& [value, name] : ResultNames)
    if (value == result) return name;
  return nullptr;
}

std::wstring SystemText(HRESULT result) {
  std::wstring message = Win32::SystemMessage(result);
  // The system's texts end in a line break and sometimes a full stop; the host's messages go on after them.
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
    message.pop_back();
  return message;
}

}  // namespace

std::string HResultText(HRESULT result) {
  std::string described = "0x" + Win32::HexDigits(static_cast<std::uint32_t>(result));
  if (const char* name = ResultName(result)) described += std::string(" (") + name + ")";
  std::wstring text = SystemText(result);
  return text.empty() ? described : described + " " + Tools::Utf8(text);
}

void CheckCall(HRESULT result, const std::string& call, TExitCode code) {
  if (FAILED(result)) throw EHostError(code, call + " failed: " + HResultText(result));
}

}  // namespace Host
