// CreateProcessW, with standard handles only when there are some to hand on.
#include "Process.h"

namespace Tools {

bool StartProcess(std::wstring commandLine, const TStart& start, Win32::TProcessInformation& process) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  bool redirected = start.Output || start.Errors;
  if (redirected) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = start.Output;
    startup.hStdError = start.Errors;
  }
  return ::CreateProcessW(start.Program, commandLine.data(), nullptr, nullptr, redirected, start.Flags, nullptr,
                          nullptr, &startup, process.put());
}

std::optional<DWORD> WaitForExit(HANDLE process, DWORD milliseconds) {
  if (::WaitForSingleObject(process, milliseconds) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  ::GetExitCodeProcess(process, &code);
  return code;
}

}  // namespace Tools
