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

// Starts a command for a present selection as a chosen menu item does, without spending any selection: reads the
// program's path, refuses names that cannot be handed on, and reports a failed start in a box owned by owner
// unless mayShowBoxes is false (then the failure is the result).
HRESULT LaunchFor(const TCommand& command, const TSelection& selection, HWND owner, int show, bool mayShowBoxes);

// Answers IContextMenu::InvokeCommand.
HRESULT InvokeCommand(const CMINVOKECOMMANDINFO* info) noexcept;

}  // namespace ContextM
