// The record file and its event, for the tests that start the stand-in through the handler.
#include "Recording.h"

#include "win32/Handles.h"
#include "win32/Module.h"
#include "win32/Text.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

namespace StandIn {

namespace {

std::string Environment(const char* name) {
  char value[MAX_PATH * 4];
  DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

struct TCloseFile {
  void operator()(FILE* file) const { std::fclose(file); }
};

void WriteField(FILE* file, const char* text) {
  std::fputs(text, file);
  std::fputc('\0', file);
}

void WriteRecord(const std::string& path, int argc, char** argv) {
  std::unique_ptr<FILE, TCloseFile> file(std::fopen(path.c_str(), "wb"));
  if (!file) return;
  WriteField(file.get(), Win32::Narrowed(Win32::ModulePath()).c_str());
  WriteField(file.get(), ::GetCommandLineA());
  for (int i = 1; i < argc; ++i) WriteField(file.get(), argv[i]);
}

}  // namespace

void RecordStart(int argc, char** argv) {
  if (std::string record = Environment("TARNCTX_RECORD"); !record.empty()) WriteRecord(record, argc, argv);
  std::string event = Environment("TARNCTX_RECORDED");
  if (event.empty()) return;
  if (Win32::TKernelHandle recorded(::OpenEventA(EVENT_MODIFY_STATE, FALSE, event.c_str())); recorded)
    ::SetEvent(recorded.get());
}

}  // namespace StandIn
