// A stand-in for the suite's main application: says which operation it was asked for and on which paths.
// The tests start it through the handler and read what it recorded.
#include "Recording.h"
#include "Report.h"

#include <windows.h>

#include <string>
#include <vector>

int main(int argc, char** argv) try {
  StandIn::RecordStart(argc, argv);
  bool known = StandIn::PrintReport(::GetCommandLineA(), std::vector<std::string>(argv + 1, argv + argc));
  return known ? 0 : 2;
} catch (...) {
  return 1;
}
