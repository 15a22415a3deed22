// Builds the command line, starts the program, spends the selection and reports what went wrong.
#include "Launch.h"

#include "CodePage.h"
#include "HandlerCall.h"
#include "Settings.h"
#include "win32/Handles.h"

#include <shellapi.h>

#include <optional>

namespace ContextM {

namespace {

constexpr char LaunchErrorText[] = "Error executing Tarnwick";
constexpr wchar_t UnpassableHead[] = L"Tarnwick cannot be given this file:\n\n";
constexpr wchar_t UnpassableReason[] =
    L"\n\nIts name holds characters that the system code page cannot represent, and it has no short name "
    L"that could stand in for it. Nothing was started; rename the file and try again.";

// A caller that asked for no user interface may be unable to answer a modal box: it gets a failure instead.
bool MayShowBoxes(const CMINVOKECOMMANDINFO& info) { return !(info.fMask & CMIC_MASK_FLAG_NO_UI); }

void ReportStartFailure(HWND owner) { ::MessageBoxA(owner, LaunchErrorText, "Error", MB_OK | MB_ICONERROR); }

// By hand: the library's formatted printing would be linked in for this one number.
std::wstring DecimalText(std::size_t number) {
  std::wstring digits;
  do digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + number % 10));
  while ((number /= 10) != 0);
  return digits;
}

void ReportUnpassable(HWND owner, const std::vector<std::wstring>& names) {
  std::wstring listed = names.front();
  if (names.size() > 1) listed += L"\n(and " + DecimalText(names.size() - 1) + L" more)";
  std::wstring text = UnpassableHead + listed + UnpassableReason;
  ::MessageBoxW(owner, text.c_str(), L"Error", MB_OK | MB_ICONERROR);
}

// A verb given as a string, not an offset: its pointer has bits above the low 16.
bool IsVerbString(LPCSTR verb) { return !IS_INTRESOURCE(verb); }

// Refuses the whole selection when one of its names cannot be handed on: half a command on a shred is worse
// than none.
HRESULT RefuseSelection(HWND owner, bool mayShowBoxes, const TSelection& selection) {
  if (!mayShowBoxes) return HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION);
  ReportUnpassable(owner, selection->Unpassable);
  return S_OK;
}

HRESULT Start(const TCommand& command, const std::string& exeName, const TSelection& selection, HWND owner,
              int show, bool mayShowBoxes) {
  if (!selection->Unpassable.empty()) return RefuseSelection(owner, mayShowBoxes, selection);
  if (StartProgram(exeName, CommandLineFor(exeName, command, selection->Paths), show)) return S_OK;
  HRESULT failure = LastErrorResult();
  if (!mayShowBoxes) return failure;
  ReportStartFailure(owner);
  return S_OK;
}

// None when the path cannot be read: nothing starts, and a box tells why unless the caller asked for none.
std::optional<std::string> ProgramOrReport(HWND owner, bool mayShowBoxes) {
  try {
    return ReadExeName();
  } catch (...) {
    if (mayShowBoxes) ReportStartFailure(owner);
    return std::nullopt;
  }
}

}  // namespace

std::string CommandLineFor(const std::string& exeName, const TCommand& command, const TPathList& paths) {
  return BuildCommandLine(exeName, command.Switch, paths, SystemLeadBytes());
}

bool StartProgram(const std::string& exeName, std::string commandLine, int show) {
  std::string program = ProgramPath(exeName);
  if (program.empty()) {
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  Win32::TProcessInformation process;
  return ::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, process.put());
}

HRESULT LaunchFor(const TCommand& command, const TSelection& selection, HWND owner, int show, bool mayShowBoxes) {
  std::optional<std::string> exeName = ProgramOrReport(owner, mayShowBoxes);
  if (!exeName) return E_UNEXPECTED;
  return Start(command, *exeName, selection, owner, show, mayShowBoxes);
}

// A path that cannot be read starts nothing and keeps the selection: E_UNEXPECTED.
HRESULT InvokeCommand(const CMINVOKECOMMANDINFO* info) noexcept {
  return HandlerCall([&]() -> HRESULT {
    if (!info) return E_INVALIDARG;
    if (IsVerbString(info->lpVerb)) return E_FAIL;
    if (!SelectedFiles()) return E_FAIL;
    const TCommand* command = FindItem(LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)));
    if (!command) return E_INVALIDARG;

    bool mayShowBoxes = MayShowBoxes(*info);
    std::optional<std::string> exeName = ProgramOrReport(info->hwnd, mayShowBoxes);
    if (!exeName) return E_UNEXPECTED;
    // Taken and spent in one step: another thread's command cannot launch the same selection twice.
    TSelection selection = SpendSelectedFiles();
    if (!selection) return E_FAIL;
    return Start(*command, *exeName, selection, info->hwnd, info->nShow, mayShowBoxes);
  });
}

}  // namespace ContextM
