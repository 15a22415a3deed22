// Windows 11's first menu: the package that registers the Explorer command, added and removed for the current
// user through PowerShell, on the Windows versions whose Explorer shows packaged commands.
#pragma once

#include <windows.h>

#include <string>

namespace Assoc {

inline constexpr wchar_t PackageName[] = L"Velmora.Tarnwick.ContextMenu";
inline constexpr wchar_t PackageFileName[] = L"tarnctx-menu.msix";
// Windows 11's first build; its Explorer shows packaged commands in the first menu and in "Show more options".
inline constexpr DWORD FirstModernMenuBuild = 22000;

// The build the system reports to RtlGetVersion, which no compatibility manifest of this program changes.
DWORD WindowsBuild();
inline bool HasModernMenu(DWORD build) { return build >= FirstModernMenuBuild; }

// The scripts handed to PowerShell. Each prints a confirmation only when the system's own package list shows
// the result, so that a PowerShell that does nothing and exits 0 confirms nothing.
std::wstring AddPackageScript(const std::wstring& package, const std::wstring& externalFolder);
std::wstring RemovePackageScript();
// What a script prints when the package is registered, and when it is absent.
std::wstring AddedConfirmation();
std::wstring RemovedConfirmation();

// Run the script and raise EAssocError ecPackage unless PowerShell's output confirms it.
void AddPackage(const std::wstring& package, const std::wstring& externalFolder);
void RemovePackage();

// Whether the system's package list shows the package for this user; unknown when PowerShell gives no answer.
enum class TPackageState { psRegistered, psAbsent, psUnknown };
TPackageState QueryPackage();

// Tells Explorer that associations changed, so that its next menu reads them anew.
void NotifyExplorer();

}  // namespace Assoc
