// CreateProcess with two inheritable pipes, each drained by a thread of its own so neither can fill up.
#include "ToolRun.h"

#include "win32/Handles.h"

#include <sstream>
#include <thread>

namespace Testing {

namespace {

struct TPipe {
  Win32::TKernelHandle Read, Write;
  TPipe() {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    ::CreatePipe(Read.put(), Write.put(), &inherit, 0);
    ::SetHandleInformation(Read.get(), HANDLE_FLAG_INHERIT, 0);
  }
};

// The tools write text mode: each line ends in CR LF, read back as LF.
void Drain(HANDLE pipe, std::string& into) {
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0) into.append(buffer, read);
  std::string text;
  for (std::size_t i = 0; i < into.size(); ++i)
    if (!(into[i] == '\r' && i + 1 < into.size() && into[i + 1] == '\n')) text += into[i];
  into = std::move(text);
}

}  // namespace

std::vector<std::string> TToolRun::OutLines() const {
  std::vector<std::string> lines;
  std::istringstream stream(Out);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

TToolRun RunTool(const std::string& commandLine, DWORD milliseconds) {
  TToolRun run;
  TPipe out, err;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out.Write.get();
  startup.hStdError = err.Write.get();
  std::string line = commandLine;
  Win32::TProcessInformation process;
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, process.put())) {
    run.ExitCode = ::GetLastError();
    run.Err = "cannot start: " + commandLine;
    return run;
  }
  // Only the child (and what it starts) may hold the writing ends, so that reading ends when they end.
  out.Write.reset();
  err.Write.reset();
  std::thread outReader(Drain, out.Read.get(), std::ref(run.Out));
  std::thread errReader(Drain, err.Read.get(), std::ref(run.Err));
  if (::WaitForSingleObject(process.get().hProcess, milliseconds) != WAIT_OBJECT_0) {
    run.TimedOut = true;
    ::TerminateProcess(process.get().hProcess, 255);
  }
  outReader.join();
  errReader.join();
  ::GetExitCodeProcess(process.get().hProcess, &run.ExitCode);
  return run;
}

std::filesystem::path BuildFolder() {
  char self[MAX_PATH];
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path().parent_path();
}

std::string Quoted(const std::filesystem::path& path) { return '"' + path.string() + '"'; }

}  // namespace Testing
