// Real registry keys, files, hooks and processes for the tests.
#include "Platform.h"

#include "win32/Module.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace Testing {

namespace fs = std::filesystem;

// Files --------------------------------------------------------------------------------------------

TTempFolder::TTempFolder(const std::string& name) {
  FPath = fs::temp_directory_path() /
          (name + "-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(::GetTickCount64()));
  fs::create_directories(FPath);
}

TTempFolder::~TTempFolder() {
  std::error_code ignored;
  fs::remove_all(FPath, ignored);
}

std::string TTempFolder::File(const std::string& name, const std::string& content) const {
  fs::path path = FPath / name;
  std::ofstream(path, std::ios::binary) << content;
  return path.string();
}

std::string TTempFolder::Folder(const std::string& name) const {
  fs::create_directories(FPath / name);
  return (FPath / name).string();
}

void SetLastWriteYear(const std::string& path, WORD year) {
  SYSTEMTIME time{};
  time.wYear = year;
  time.wMonth = 6;
  time.wDay = 15;
  time.wHour = 12;
  FILETIME local, utc;
  ::SystemTimeToFileTime(&time, &local);
  ::LocalFileTimeToFileTime(&local, &utc);
  Win32::TFileHandle file(::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) throw std::runtime_error("cannot open " + path);
  if (!::SetFileTime(file.get(), nullptr, nullptr, &utc)) throw std::runtime_error("cannot set the time of " + path);
}

// Message boxes ------------------------------------------------------------------------------------

namespace {

// Plain statics, for the one thread that watches at a time: arm64 Wine 8.0 enters hook procedures with x18, the
// register through which thread-local variables are found, cleared.
Win32::THook WatcherHook;
std::vector<TMessageBoxWatcher::TBox>* WatchedBoxes = nullptr;

std::string WindowText(HWND window) {
  char text[1024] = "";
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    auto window = reinterpret_cast<HWND>(wParam);
    char className[64] = "";
    ::GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770" && WatchedBoxes) {
      char text[1024] = "";
      ::GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
      WatchedBoxes->push_back({WindowText(window), text, ::GetWindow(window, GW_OWNER)});
      ::PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
  }
  return ::CallNextHookEx(WatcherHook.get(), code, wParam, lParam);
}

}  // namespace

TMessageBoxWatcher::TMessageBoxWatcher() : FOuterBoxes(std::exchange(WatchedBoxes, &FBoxes)) {
  if (!WatcherHook) WatcherHook.reset(::SetWindowsHookExA(WH_CBT, WatchBoxes, nullptr, ::GetCurrentThreadId()));
}

TMessageBoxWatcher::~TMessageBoxWatcher() {
  WatchedBoxes = FOuterBoxes;
  if (!WatchedBoxes) WatcherHook.reset();
}

// The stand-in main application ------------------------------------------------------------------

namespace {

fs::path ThisProgramFolder() { return fs::path(Win32::ModulePath()).parent_path(); }

}  // namespace

TStandIn::TStandIn(const TTempFolder& folder, const std::string& exeName) {
  fs::path exe = folder.Path() / exeName;
  fs::create_directories(exe.parent_path());
  fs::copy_file(ThisProgramFolder() / "standin.exe", exe, fs::copy_options::overwrite_existing);
  FExePath = exe.string();
  FRecordPath = (folder.Path() / "record.bin").string();
  std::string eventName = "tarnctx-standin-" + std::to_string(::GetCurrentProcessId());
  FRecorded.reset(::CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
  ::SetEnvironmentVariableA("TARNCTX_RECORD", FRecordPath.c_str());
  ::SetEnvironmentVariableA("TARNCTX_RECORDED", eventName.c_str());
}

TStandIn::~TStandIn() {
  ::SetEnvironmentVariableA("TARNCTX_RECORD", nullptr);
  ::SetEnvironmentVariableA("TARNCTX_RECORDED", nullptr);
}

TRecordedLaunch TStandIn::Wait(DWORD milliseconds) {
  TRecordedLaunch launch;
  if (::WaitForSingleObject(FRecorded.get(), milliseconds) != WAIT_OBJECT_0) return launch;
  ::ResetEvent(FRecorded.get());
  std::ifstream file(FRecordPath, std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  launch.Started = true;
  std::size_t start = 0;
  std::vector<std::string> fields;
  for (std::size_t end; (end = content.find('\0', start)) != std::string::npos; start = end + 1)
    fields.push_back(content.substr(start, end - start));
  if (fields.size() < 2) return launch;
  launch.Program = fields[0];
  launch.CommandLine = fields[1];
  launch.Arguments.assign(fields.begin() + 2, fields.end());
  return launch;
}

}  // namespace Testing
