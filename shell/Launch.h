// Command launch: starts the suite's main application with a command's switch and the quoted paths.
#pragma once

#include "CommandLine.h"
#include "CommandTable.h"
#include "Selection.h"

#include <shlobj.h>

#include <optional>
#include <string>

namespace ContextM {

// Where a command is launched from: the window that owns its boxes, the program's show command, and whether
// boxes may be shown at all (a caller that asked for no user interface may be unable to answer one).
struct TLaunchSite {
  HWND Owner = nullptr;
  int Show = SW_SHOWNORMAL;
  bool MayShowBoxes = true;
};

// The command line for a command and the selection's paths, in the system code page.
std::string CommandLineFor(const std::string& exeName, const TCommand& command, const TSelectedFiles& selection);

// Starts the program explicitly by path, never by splitting the line at a blank; false when it cannot start,
// with the reason in the thread's last error.
bool StartProgram(const std::string& exeName, std::string commandLine, int show);

// The main application's path from the options; none when they cannot be read, after the "Error executing
// Tarnwick" box where the site may show boxes.
std::optional<std::string> ExeNameFor(const TLaunchSite& site);

// Launches a command for a selection: refuses the whole selection when one of its names cannot be handed on,
// otherwise starts the program, and reports a start that failed. With boxes, a refusal or a failed start shows
// its box and answers S_OK; without, it answers the failure.
HRESULT LaunchCommand(const TCommand& command, const TSelectedFiles& selection, const std::string& exeName,
                      const TLaunchSite& site);

// Answers IContextMenu::InvokeCommand for the module-wide selection, which a launch spends.
HRESULT InvokeCommand(const CMINVOKECOMMANDINFO* info) noexcept;

}  // namespace ContextM
