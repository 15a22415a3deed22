// A tool started with two inheritable pipes, each drained by a thread of its own so neither can fill up.
#include "ToolRun.h"

#include "tools/Process.h"
#include "win32/Handles.h"
#include "win32/Module.h"
#include "win32/Text.h"

#include <sstream>
#include <thread>

namespace Testing {

namespace {

// A tool still running at the end of its time is ended with this code.
constexpr UINT EndedExitCode = 255;

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
  Win32::TProcessInformation process;
  Tools::TStart start;
  start.Output = out.Write.get();
  start.Errors = err.Write.get();
  if (!Tools::StartProcess(Win32::Widened(commandLine), start, process)) {
    run.ExitCode = ::GetLastError();
    run.Err = "cannot start: " + commandLine;
    return run;
  }
  // Only the child (and what it starts) may hold the writing ends, so that reading ends when they end.
  out.Write.reset();
  err.Write.reset();
  std::thread outReader(Drain, out.Read.get(), std::ref(run.Out));
  std::thread errReader(Drain, err.Read.get(), std::ref(run.Err));
  std::optional<DWORD> exitCode = Tools::WaitForExit(process.get().hProcess, milliseconds);
  if (!exitCode) {
    run.TimedOut = true;
    ::TerminateProcess(process.get().hProcess, EndedExitCode);
  }
  outReader.join();
  errReader.join();
  run.ExitCode = exitCode.value_or(EndedExitCode);
  return run;
}

std::filesystem::path BuildFolder() { return std::filesystem::path(Win32::ModulePath()).parent_path().parent_path(); }

std::string Quoted(const std::filesystem::path& path) { return '"' + path.string() + '"'; }

}  // namespace Testing
