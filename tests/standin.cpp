// A stand-in for the suite's main application: records the command line it was started with.
// TARNCTX_RECORD names the file to write; TARNCTX_RECORDED names an event to set once it is written.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Environment(const char* name) {
  char value[MAX_PATH * 4];
  DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

// Its own file, the raw line, then every argument the C runtime parsed, each ended by a NUL byte.
void Record(const std::string& path, int argc, char** argv) {
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    char self[MAX_PATH * 4] = "";
    ::GetModuleFileNameA(nullptr, self, sizeof self);
    std::fputs(self, file);
    std::fputc('\0', file);
    std::fputs(::GetCommandLineA(), file);
    std::fputc('\0', file);
    for (int i = 1; i < argc; ++i) {
      std::fputs(argv[i], file);
      std::fputc('\0', file);
    }
    std::fclose(file);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string record = Environment("TARNCTX_RECORD");
  if (!record.empty()) Record(record, argc, argv);
  std::string event = Environment("TARNCTX_RECORDED");
  if (HANDLE recorded = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, event.c_str())) {
    ::SetEvent(recorded);
    ::CloseHandle(recorded);
  }
  return 0;
}
