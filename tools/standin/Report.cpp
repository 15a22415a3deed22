// The switches and captions come from the library's public names.
#include "Report.h"

#include "shell/Identities.h"

#include <windows.h>

#include <cstdio>

namespace StandIn {

namespace {

// Each switch is named with the blanks that surround it on the command line.
std::string_view Trimmed(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

const char* PathState(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return "missing";
  return attributes & FILE_ATTRIBUTE_DIRECTORY ? "folder, exists" : "exists";
}

}  // namespace

std::string OperationCaption(const std::string& commandSwitch) {
  for (const ContextM::TOperation& operation : ContextM::Operations)
    if (Trimmed(operation.Switch) == commandSwitch) return std::string(operation.Caption);
  return {};
}

bool PrintReport(const std::string& commandLine, const std::vector<std::string>& arguments) {
  std::printf("The main application (stand-in) was started:\n");
  std::printf("  command line  [%s]\n", commandLine.c_str());
  std::string commandSwitch = arguments.empty() ? std::string() : arguments.front();
  std::string caption = OperationCaption(commandSwitch);
  if (caption.empty())
    std::printf("  operation     %s (not one of Tarnwick's switches)\n", commandSwitch.c_str());
  else
    std::printf("  operation     %s  %s\n", commandSwitch.c_str(), caption.c_str());
  for (std::size_t i = 1; i < arguments.size(); ++i)
    std::printf("  path          %s  (%s)\n", arguments[i].c_str(), PathState(arguments[i]));
  std::fflush(stdout);
  return !caption.empty();
}

}  // namespace StandIn
