// shellhost: shows and drives the context menu that registered shell extensions add for files and folders,
// as Explorer does on a right-click. The exit code tells scripts what went wrong.
#include "HostError.h"
#include "HostOptions.h"
#include "HostSession.h"
#include "ModernSession.h"

#include <ole2.h>

#include <cstdio>
#include <vector>

namespace {

int Fail(Host::TExitCode code, const char* message) {
  std::fflush(stdout);
  std::fprintf(stderr, "shellhost: %s\n", message);
  if (code == Host::TExitCode::ecUsage) std::fputs(Host::UsageText, stderr);
  return static_cast<int>(code);
}

// Shell extensions are apartment-threaded and some use OLE's clipboard and drag-and-drop: OLE on an STA.
class TOleSession {
public:
  TOleSession() { Host::CheckCall(::OleInitialize(nullptr), "OleInitialize", Host::TExitCode::ecUnexpected); }
  ~TOleSession() {
    ::CoFreeUnusedLibrariesEx(0, 0);
    ::OleUninitialize();
  }
  TOleSession(const TOleSession&) = delete;
  TOleSession& operator=(const TOleSession&) = delete;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  ::SetConsoleOutputCP(CP_UTF8);
  try {
    Host::THostOptions options = Host::ParseOptions(std::vector<std::wstring>(argv + 1, argv + argc));
    if (options.Help) {
      std::fputs(Host::UsageText, stdout);
      return 0;
    }
    TOleSession ole;
    options.Modern ? Host::RunModernSession(options) : Host::RunSession(options);
    return 0;
  } catch (const Host::EHostError& error) {
    return Fail(error.Code(), error.what());
  } catch (const std::exception& error) {
    return Fail(Host::TExitCode::ecUnexpected, error.what());
  } catch (...) {
    return Fail(Host::TExitCode::ecUnexpected, "unexpected failure");
  }
}
