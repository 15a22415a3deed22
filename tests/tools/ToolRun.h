// The built tools run as their own processes, their output and exit code captured.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace Testing {

struct TToolRun {
  DWORD ExitCode = 0;
  bool TimedOut = false;
  std::string Out, Err;
  std::vector<std::string> OutLines() const;
};

// Runs a command line to its end (at most a minute, then it is ended) with standard output and error captured.
TToolRun RunTool(const std::string& commandLine, DWORD milliseconds = 60000);

// The build folder that holds tarnctx.dll, tarnassoc.exe and tools\.
std::filesystem::path BuildFolder();

// "\"path\"" for a command line.
std::string Quoted(const std::filesystem::path& path);

}  // namespace Testing
