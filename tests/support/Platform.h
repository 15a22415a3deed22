// Test helpers on the real platform: the options key, temporary files, message boxes, the stand-in program.
#pragma once

#include "tools/OptionsKey.h"
#include "win32/Handles.h"

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace Testing {

// The handler's class identifier, written out as the registry must hold it.
inline constexpr char HandlerClassText[] = "{5D3E8A41-7C2B-4F96-A1E0-3B9C6D2F8E17}";

using Tools::TOptionsKey;

// A fresh folder under the temporary folder, removed with everything in it.
class TTempFolder {
public:
  explicit TTempFolder(const std::string& name = "tarnctx test");
  ~TTempFolder();
  const std::filesystem::path& Path() const { return FPath; }
  std::string File(const std::string& name, const std::string& content = "x") const;
  std::string Folder(const std::string& name) const;

private:
  std::filesystem::path FPath;
};

// Sets a file's last-write time, as a local calendar date.
void SetLastWriteYear(const std::string& path, WORD year);

// Watches this thread's message boxes with a WH_CBT hook: records caption and text, then closes each one.
class TMessageBoxWatcher {
public:
  TMessageBoxWatcher();
  ~TMessageBoxWatcher();
  struct TBox {
    std::string Caption, Text;
    HWND Owner;
  };
  const std::vector<TBox>& Boxes() const { return FBoxes; }

private:
  std::vector<TBox> FBoxes;
  std::vector<TBox>* FOuterBoxes;  // a watcher further out on this thread, restored at the end
};

// Runs the stand-in main application through an action and returns what it recorded.
struct TRecordedLaunch {
  bool Started = false;
  std::string Program;  // the file that ran
  std::string CommandLine;
  std::vector<std::string> Arguments;  // as the C runtime parsed them, program name excluded
};

class TStandIn {
public:
  // Copies the stand-in program into the folder under the given name.
  TStandIn(const TTempFolder& folder, const std::string& exeName);
  ~TStandIn();
  const std::string& ExePath() const { return FExePath; }
  // Waits a bounded time for the stand-in to record its start.
  TRecordedLaunch Wait(DWORD milliseconds = 10000);

private:
  std::string FExePath, FRecordPath;
  Win32::TKernelHandle FRecorded;
};

}  // namespace Testing
