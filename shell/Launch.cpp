// Builds the command line, starts the program, spends the selection and reports what went wrong.
#include "Launch.h"

#include "win32/CodePage.h"
#include "Settings.h"
#include "com/ComBoundary.h"
#include "win32/Handles.h"
#include "win32/Text.h"

#include <shellapi.h>

namespace ContextM {

namespace {

constexpr char LaunchErrorText[] = "Error executing Tarnwick";
constexpr wchar_t UnpassableHead[] = L"Tarnwick cannot be given this file:\n\n";
constexpr wchar_t UnpassableReason[] =
    L"\n\nIts name holds characters that the system code page cannot represent, and it has no short name "
    L"that could stand in for it. Nothing was started; rename the file and try again.";

void ReportStartFailure(HWND owner) { ::MessageBoxA(owner, LaunchErrorText, "Error", MB_OK | MB_ICONERROR); }

void ReportUnpassable(HWND owner, const TNameList<wchar_t>& names) {
  std::wstring listed(names.front());
  if (names.size() > 1) listed += L"\n(and " + Win32::DecimalText(names.size() - 1) + L" more)";
  std::wstring text = UnpassableHead + listed + UnpassableReason;
  ::MessageBoxW(owner, text.c_str(), L"Error", MB_OK | MB_ICONERROR);
}

// A verb given as a string, not an offset: its pointer has bits above the low 16.
bool IsVerbString(LPCSTR verb) { return !IS_INTRESOURCE(verb); }

TLaunchSite SiteOf(const CMINVOKECOMMANDINFO& info) {
  return {info.hwnd, info.nShow, !(info.fMask & CMIC_MASK_FLAG_NO_UI)};
}

}  // namespace

std::string CommandLineFor(const std::string& exeName, const TCommand& command, const TSelectedFiles& selection) {
  return BuildCommandLine(exeName, command.Switch, selection.Paths, Win32::SystemLeadBytes());
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
  return ::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          process.put());
}

std::optional<std::string> ExeNameFor(const TLaunchSite& site) {
  try {
    return ReadExeName();
  } catch (...) {
    if (site.MayShowBoxes) ReportStartFailure(site.Owner);
    return std::nullopt;
  }
}

// Half a command on a shred is worse than none: one name that cannot be handed on refuses the whole selection.
HRESULT LaunchCommand(const TCommand& command, const TSelectedFiles& selection, const std::string& exeName,
                      const TLaunchSite& site) {
  if (!selection.Unpassable.empty()) {
    if (!site.MayShowBoxes) return HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION);
    ReportUnpassable(site.Owner, selection.Unpassable);
    return S_OK;
  }
  if (StartProgram(exeName, CommandLineFor(exeName, command, selection), site.Show)) return S_OK;
  HRESULT failure = ComObj::LastErrorResult();
  if (!site.MayShowBoxes) return failure;
  ReportStartFailure(site.Owner);
  return S_OK;
}

// An ExeName value that cannot be read starts nothing and keeps the selection: E_UNEXPECTED, and a box unless
// the caller asked for none.
HRESULT InvokeCommand(const CMINVOKECOMMANDINFO* info) noexcept {
  return ComObj::CallBoundary([&]() -> HRESULT {
    if (!info) return E_INVALIDARG;
    if (IsVerbString(info->lpVerb)) return E_FAIL;
    if (!SelectedFiles()) return E_FAIL;
    const TCommand* command = FindItem(LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)));
    if (!command) return E_INVALIDARG;

    TLaunchSite site = SiteOf(*info);
    std::optional<std::string> exeName = ExeNameFor(site);
    if (!exeName) return E_UNEXPECTED;
    // Taken and spent in one step: another thread's command cannot launch the same selection twice.
    TSelection selection = SpendSelectedFiles();
    if (!selection) return E_FAIL;
    return LaunchCommand(*command, *selection, *exeName, site);
  });
}

}  // namespace ContextM
