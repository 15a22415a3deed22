// One run of the host: the selection's handlers, their menu printed, then the chosen item or the screenshot.
#pragma once

#include "HostOptions.h"
#include "HostSelection.h"

#include <set>
#include <string>

namespace Host {

// Prints to standard output; raises EHostError for what stops the run.
void RunSession(const THostOptions& options);

// What both menus' runs print: a line of text, the selection, and the programs a command started.
void Print(const std::string& text);
void PrintSelection(const THostSelection& selection);
// Waits for the programs started since `earlier` and says how they ended.
void ReportStarted(const std::set<DWORD>& earlier);

}  // namespace Host
