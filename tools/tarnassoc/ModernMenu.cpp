// Adds and removes the menu's package with PowerShell's Appx commands, and checks the system's word for it.
#include "ModernMenu.h"

#include "AssocError.h"
#include "tools/Process.h"
#include "tools/ToolText.h"
#include "win32/Handles.h"

#include <shlobj.h>

#include <cstdio>

namespace Assoc {

namespace {

// A bound for PowerShell's start and the deployment; a package with external location adds in seconds.
constexpr DWORD ScriptTimeoutMs = 120000;

// Inside PowerShell's single quotes only the quote itself is special, and it is written twice.
std::wstring SingleQuoted(const std::wstring& text) {
  std::wstring quoted = L"'";
  for (wchar_t c : text) quoted += c == L'\'' ? std::wstring(L"''") : std::wstring(1, c);
  return quoted + L"'";
}

std::wstring PackageQuery() { return L"Get-AppxPackage -Name " + SingleQuoted(PackageName); }

// By its full path in the system folder: a powershell.exe in the current folder or on PATH is never run.
std::wstring PowerShellPath() {
  wchar_t system[MAX_PATH];
  UINT length = ::GetSystemDirectoryW(system, ARRAYSIZE(system));
  return std::wstring(system, length) + L"\\WindowsPowerShell\\v1.0\\powershell.exe";
}

std::string RunPowerShell(const std::wstring& script) {
  std::wstring program = PowerShellPath();
  std::wstring commandLine =
      L"\"" + program + L"\" -NoProfile -NonInteractive -ExecutionPolicy Bypass -Command \"" + script + L"\"";
  std::printf("> %s\n", Tools::Utf8(commandLine).c_str());
  std::fflush(stdout);

  Tools::TOutputPipe pipe;
  if (!pipe.Read) throw EAssocError(TExitCode::ecPackage, "Cannot make a pipe for PowerShell's output");

  Win32::TProcessInformation process;
  Tools::TStart start{program.c_str(), pipe.Write.get(), pipe.Write.get(), CREATE_NO_WINDOW};
  if (!Tools::StartProcess(commandLine, start, process))
    throw EAssocError(TExitCode::ecPackage,
                      "Cannot start " + Tools::Utf8(program) + " (error " + std::to_string(::GetLastError()) + ")");
  pipe.Write.reset();  // only the child holds the writing end now, so reading ends when it does
  std::string output = Tools::ReadToEnd(pipe.Read.get());
  if (!Tools::WaitForExit(process.get().hProcess, ScriptTimeoutMs)) {
    ::TerminateProcess(process.get().hProcess, 1);
    throw EAssocError(TExitCode::ecPackage, "PowerShell did not finish within two minutes");
  }
  return output;
}

void RunConfirmed(const std::wstring& script, const std::wstring& confirmation, const std::string& failure) {
  std::string output = RunPowerShell(script);
  if (output.find(Tools::Utf8(confirmation)) != std::string::npos) return;
  std::string shown = output.empty() ? "nothing" : "\n" + output;
  throw EAssocError(TExitCode::ecPackage, failure + "; PowerShell printed " + shown);
}

}  // namespace

DWORD WindowsBuild() {
  using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto getVersion = reinterpret_cast<TRtlGetVersion>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!getVersion || getVersion(&version) != 0) return 0;
  return version.dwBuildNumber;
}

std::wstring AddedConfirmation() { return std::wstring(PackageName) + L"_"; }
std::wstring RemovedConfirmation() { return L"No package " + std::wstring(PackageName); }

std::wstring AddPackageScript(const std::wstring& package, const std::wstring& externalFolder) {
  return L"Add-AppxPackage -Path " + SingleQuoted(package) + L" -ExternalLocation " + SingleQuoted(externalFolder) +
         L" -ErrorAction Stop; (" + PackageQuery() + L").PackageFullName";
}

std::wstring RemovePackageScript() {
  return PackageQuery() + L" | Remove-AppxPackage -ErrorAction Stop; if (-not (" + PackageQuery() + L")) { " +
         SingleQuoted(RemovedConfirmation()) + L" }";
}

void AddPackage(const std::wstring& package, const std::wstring& externalFolder) {
  if (::GetFileAttributesW(package.c_str()) == INVALID_FILE_ATTRIBUTES)
    throw EAssocError(TExitCode::ecPackage, "No package at " + Tools::Utf8(package));
  RunConfirmed(AddPackageScript(package, externalFolder), AddedConfirmation(),
               "The system's package list does not show " + Tools::Utf8(PackageName) + " for this user");
}

void RemovePackage() {
  RunConfirmed(RemovePackageScript(), RemovedConfirmation(),
               "The system's package list still shows " + Tools::Utf8(PackageName) + ", or could not be read");
}

// Each answer has its own word, so that a PowerShell that prints nothing answers neither.
TPackageState QueryPackage() {
  std::string output = RunPowerShell(L"if (" + PackageQuery() + L") { 'Package registered' } else { 'Package absent' }");
  if (output.find("Package registered") != std::string::npos) return TPackageState::psRegistered;
  return output.find("Package absent") != std::string::npos ? TPackageState::psAbsent : TPackageState::psUnknown;
}

void NotifyExplorer() { ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr); }

}  // namespace Assoc
