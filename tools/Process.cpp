// CreateProcessW, with standard handles only when there are some to hand on; pipes read until they break.
#include "Process.h"

namespace Tools {

TOutputPipe::TOutputPipe() {
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  if (::CreatePipe(Read.put(), Write.put(), &inheritable, 0))
    ::SetHandleInformation(Read.get(), HANDLE_FLAG_INHERIT, 0);
}

std::string ReadToEnd(HANDLE pipe) {
  std::string output;
  char chunk[4096];
  DWORD read = 0;
  while (::ReadFile(pipe, chunk, sizeof chunk, &read, nullptr) && read > 0) output.append(chunk, read);
  return output;
}

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
