// A process snapshot names each process's parent; waiting needs a handle to each new child.
#include "StartedPrograms.h"

#include "tools/Process.h"
#include "win32/Handles.h"

#include <tlhelp32.h>

namespace Host {

namespace {

struct TChild {
  DWORD Id;
  std::wstring Name;
};

std::vector<TChild> Children() {
  std::vector<TChild> children;
  Win32::TKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (snapshot.get() == INVALID_HANDLE_VALUE) {
    snapshot.release();
    return children;
  }
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry))
    if (entry.th32ParentProcessID == ::GetCurrentProcessId())
      children.push_back({entry.th32ProcessID, entry.szExeFile});
  return children;
}

TStartedProgram Await(const TChild& child, ULONGLONG deadline) {
  TStartedProgram program{child.Id, child.Name};
  Win32::TKernelHandle process(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, child.Id));
  if (!process) return program;
  ULONGLONG now = ::GetTickCount64();
  DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
  std::optional<DWORD> exitCode = Tools::WaitForExit(process.get(), left);
  program.Ended = exitCode.has_value();
  program.ExitCode = exitCode.value_or(program.ExitCode);
  return program;
}

}  // namespace

std::set<DWORD> ChildProcessIds() {
  std::set<DWORD> ids;
  for (const TChild& child : Children()) ids.insert(child.Id);
  return ids;
}

std::vector<TStartedProgram> WaitForNewChildren(const std::set<DWORD>& earlier, DWORD milliseconds) {
  ULONGLONG deadline = ::GetTickCount64() + milliseconds;
  std::vector<TStartedProgram> started;
  for (const TChild& child : Children())
    if (!earlier.contains(child.Id)) started.push_back(Await(child, deadline));
  return started;
}

}  // namespace Host
