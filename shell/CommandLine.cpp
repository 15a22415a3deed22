// Quoting by the rules the C runtime uses to split a command line into arguments.
#include "CommandLine.h"

namespace ContextM {

namespace {

bool IsQuoted(std::string_view text) { return text.size() >= 2 && text.front() == '"' && text.back() == '"'; }

std::string ProgramOnLine(std::string_view exeName) {
  bool needsQuotes = exeName.find(' ') != std::string_view::npos && !IsQuoted(exeName);
  return needsQuotes ? '"' + std::string(exeName) + '"' : std::string(exeName);
}

// Walks by characters: the trail byte of a double-byte character may equal a backslash, and the C runtime
// does not read it as one.
std::size_t TrailingBackslashes(std::string_view path, const Win32::TLeadBytes& leadBytes) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < path.size(); i += Win32::CharacterLength(path, i, leadBytes))
    count = path[i] == '\\' ? count + 1 : 0;
  return count;
}

}  // namespace

std::string ProgramPath(std::string_view exeName) {
  return std::string(IsQuoted(exeName) ? exeName.substr(1, exeName.size() - 2) : exeName);
}

std::string QuotedPath(std::string_view path, const Win32::TLeadBytes& leadBytes) {
  std::string quoted;
  quoted.reserve(path.size() + 4);
  AppendQuotedPath(quoted, path, leadBytes);
  return quoted;
}

void AppendQuotedPath(std::string& line, std::string_view path, const Win32::TLeadBytes& leadBytes) {
  line += '"';
  line += path;
  line.append(TrailingBackslashes(path, leadBytes), '\\');
  line += "\" ";
}

std::string CommandLineHead(std::string_view exeName, std::string_view switchText) {
  std::string line = ProgramOnLine(exeName);
  line += switchText;
  return line;
}

}  // namespace ContextM
