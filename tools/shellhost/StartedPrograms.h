// The programs this process starts, such as the one an invoked menu command launches.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace Host {

// The identifiers of the running processes whose parent is this process.
std::set<DWORD> ChildProcessIds();

struct TStartedProgram {
  DWORD ProcessId = 0;
  std::wstring Name;   // the program's file name
  bool Ended = false;  // within the time allowed
  DWORD ExitCode = 0;
};

// Waits, up to the time given for all together, for the children that are not in the earlier set to end.
std::vector<TStartedProgram> WaitForNewChildren(const std::set<DWORD>& earlier, DWORD milliseconds);

}  // namespace Host
