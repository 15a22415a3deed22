// One run of the host: the selection's handlers, their menu printed, then the chosen item or the screenshot.
#pragma once

#include "HostOptions.h"

namespace Host {

// Prints to standard output; raises EHostError for what stops the run.
void RunSession(const THostOptions& options);

}  // namespace Host
