// Command launch: starts the suite's main application with a command's switch and the quoted paths.
#pragma once

#include "CommandTable.h"
#include "Selection.h"

#include <shlobj.h>

#include <string>

namespace ContextM {

// The program to run: the stored text, or what stands inside the quotes when it is enclosed in them.
std::string ProgramPath(const std::string& exeName);

// The program, the switch, then each path in double quotes followed by a blank. A program path with a
// blank is quoted, so that the program's own reading of its command line still finds the switch first.
std::string BuildCommandLine(const std::string& exeName, const TCommand& command, const TPathList& paths);

// Starts the program explicitly by path, never by splitting the line at a blank; false when it cannot start.
bool StartProgram(const std::string& exeName, std::string commandLine, int show);

// Answers IContextMenu::InvokeCommand.
HRESULT InvokeCommand(const CMINVOKECOMMANDINFO* info) noexcept;

}  // namespace ContextM
