// Command launch: starts the suite's main application with a command's switch and the quoted paths.
#pragma once

#include "CommandLine.h"
#include "CommandTable.h"
#include "Selection.h"

#include <shlobj.h>

#include <string>

namespace ContextM {

// The command line for a command and the selection's paths, in the system code page.
std::string CommandLineFor(const std::string& exeName, const TCommand& command, const TPathList& paths);

// Starts the program explicitly by path, never by splitting the line at a blank; false when it cannot start,
// with the reason in the thread's last error.
bool StartProgram(const std::string& exeName, std::string commandLine, int show);

// Answers IContextMenu::InvokeCommand.
HRESULT InvokeCommand(const CMINVOKECOMMANDINFO* info) noexcept;

}  // namespace ContextM
