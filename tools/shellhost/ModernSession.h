// A right-click in Windows 11's first menu: the package's Explorer command, created and asked as Explorer does.
#pragma once

#include "HostOptions.h"

namespace Host {

// Prints to standard output; raises EHostError for what stops the run.
void RunModernSession(const THostOptions& options);

}  // namespace Host
