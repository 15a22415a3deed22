// Builds the command line, starts the program, spends the selection and reports a failed start.
#include "Launch.h"

#include "HandlerCall.h"
#include "Settings.h"
#include "com/Resource.h"

namespace ContextM {

namespace {

constexpr char LaunchErrorText[] = "Error executing Tarnwick";

bool IsQuoted(const std::string& text) { return text.size() >= 2 && text.front() == '"' && text.back() == '"'; }

std::string ProgramOnLine(const std::string& exeName) {
  bool needsQuotes = exeName.find(' ') != std::string::npos && !IsQuoted(exeName);
  return needsQuotes ? '"' + exeName + '"' : exeName;
}

void ReportStartFailure(HWND owner) { ::MessageBoxA(owner, LaunchErrorText, "Error", MB_OK | MB_ICONERROR); }

// A verb given as a string, not an offset: its pointer has bits above the low 16.
bool IsVerbString(LPCSTR verb) { return !IS_INTRESOURCE(verb); }

}  // namespace

std::string ProgramPath(const std::string& exeName) {
  return IsQuoted(exeName) ? exeName.substr(1, exeName.size() - 2) : exeName;
}

std::string BuildCommandLine(const std::string& exeName, const TCommand& command, const TPathList& paths) {
  std::string line = ProgramOnLine(exeName);
  line += command.Switch;
  for (const std::string& path : paths) line += '"' + path + "\" ";
  return line;
}

bool StartProgram(const std::string& exeName, std::string commandLine, int show) {
  std::string program = ProgramPath(exeName);
  if (program.empty()) return false;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  ComObj::TProcessInformation process;
  return ::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, process.put());
}

// A path that cannot be read starts nothing and keeps the selection: the box and E_UNEXPECTED say so.
HRESULT InvokeCommand(const CMINVOKECOMMANDINFO* info) noexcept {
  return HandlerCall([&]() -> HRESULT {
    if (!info) return E_INVALIDARG;
    if (IsVerbString(info->lpVerb)) return E_FAIL;
    if (!SelectedFiles()) return E_FAIL;
    const TCommand* command = FindItem(LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)));
    if (!command) return E_INVALIDARG;

    std::string exeName;
    try {
      exeName = ReadExeName();
    } catch (...) {
      ReportStartFailure(info->hwnd);
      return E_UNEXPECTED;
    }
    // Taken and spent in one step: another thread's command cannot launch the same selection twice.
    TSelection selection = SpendSelectedFiles();
    if (!selection) return E_FAIL;
    if (!StartProgram(exeName, BuildCommandLine(exeName, *command, *selection), info->nShow))
      ReportStartFailure(info->hwnd);
    return S_OK;
  });
}

}  // namespace ContextM
