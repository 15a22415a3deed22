// What the tests learn from a start of the stand-in: a record file and an event, both named by the environment.
#pragma once

namespace StandIn {

// TARNCTX_RECORD names the file to write: the program's own path, the raw command line, then every argument
// the C runtime parsed, each ended by a NUL byte. TARNCTX_RECORDED names an event set once that is written.
// Without these variables nothing is recorded.
void RecordStart(int argc, char** argv);

}  // namespace StandIn
