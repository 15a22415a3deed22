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

// The tools write text mode: each line ends in CR LF, read back as LF.
void Drain(HANDLE pipe, std::string& into) {
  std::string raw = Tools::ReadToEnd(pipe);
  for (std::size_t i = 0; i < raw.size(); ++i)
    if (!(raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')) into += raw[i];
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
  Tools::TOutputPipe out, err;
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
