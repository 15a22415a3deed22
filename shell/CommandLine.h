// The main application's command line: the program, a command's switch, then the quoted paths.
// Free of the platform: the line is text built from text, so it can be checked and fuzzed anywhere.
#pragma once

#include "win32/LeadBytes.h"

#include <string>
#include <string_view>
#include <vector>

namespace ContextM {

// The program to run: the stored text, or what stands inside the quotes when it is enclosed in them.
std::string ProgramPath(std::string_view exeName);

// A path in double quotes, followed by a blank. Backslashes that end the path are doubled, so that the
// program's reading of its command line does not take the last one as escaping the closing quote.
std::string QuotedPath(std::string_view path, const Win32::TLeadBytes& leadBytes);
void AppendQuotedPath(std::string& line, std::string_view path, const Win32::TLeadBytes& leadBytes);

// The program, then the switch. A program path with a blank is quoted, so that the program's own reading of
// its command line still finds the switch first.
std::string CommandLineHead(std::string_view exeName, std::string_view switchText);

// The head, then every path of a range of names quoted.
template <class Paths>
std::string BuildCommandLine(std::string_view exeName, std::string_view switchText, const Paths& paths,
                             const Win32::TLeadBytes& leadBytes) {
  std::string line = CommandLineHead(exeName, switchText);
  for (std::string_view path : paths) AppendQuotedPath(line, path, leadBytes);
  return line;
}

inline std::string BuildCommandLine(std::string_view exeName, std::string_view switchText,
                                    const std::vector<std::string>& paths, const Win32::TLeadBytes& leadBytes) {
  return BuildCommandLine<std::vector<std::string>>(exeName, switchText, paths, leadBytes);
}

}  // namespace ContextM
