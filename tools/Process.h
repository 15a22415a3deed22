// Another program started with a command line, and waited for.
#pragma once

#include "win32/Handles.h"

#include <windows.h>

#include <optional>
#include <string>

namespace Tools {

struct TStart {
  const wchar_t* Program = nullptr;  // null: the command line's first word names it
  HANDLE Output = nullptr;           // given: standard output and error go there, inherited by the program
  HANDLE Errors = nullptr;
  DWORD Flags = 0;  // CreateProcess's creation flags
};

// A pipe for a started program's output: only the writing end can be inherited. Both ends are empty when the
// system cannot make one (GetLastError says why).
struct TOutputPipe {
  TOutputPipe();
  Win32::TKernelHandle Read, Write;
};

// Everything written to the pipe until every writing end is closed.
std::string ReadToEnd(HANDLE pipe);

// False when the program cannot be started; GetLastError says why.
bool StartProcess(std::wstring commandLine, const TStart& start, Win32::TProcessInformation& process);

// The process's exit code once it has ended; nothing when it is still running after the time given.
std::optional<DWORD> WaitForExit(HANDLE process, DWORD milliseconds);

}  // namespace Tools
