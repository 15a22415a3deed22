// What the stand-in prints: the operation its switch names and each path it received.
#pragma once

#include <string>
#include <vector>

namespace StandIn {

// The caption of the handler's command whose switch this is ("/e" gives "Encrypt..."), or empty.
std::string OperationCaption(const std::string& commandSwitch);

// Prints the raw command line, the operation and every path with whether it exists; false when the first
// argument is not one of the handler's switches.
bool PrintReport(const std::string& commandLine, const std::vector<std::string>& arguments);

}  // namespace StandIn
