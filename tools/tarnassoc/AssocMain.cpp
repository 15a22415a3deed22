// tarnassoc: attaches the Tarnwick context-menu handler to all files, or detaches it; for every user (with
// administrator rights, after regsvr32) or for the current user alone (registering the library there too). On
// Windows 11 it adds the package of the first menu's command instead, so that Tarnwick stands once in each menu.
#include "AssocError.h"
#include "Association.h"
#include "Check.h"
#include "ModernMenu.h"
#include "ServerLibrary.h"
#include "UserClasses.h"
#include "shell/Identities.h"
#include "tools/Registry.h"
#include "tools/ToolText.h"
#include "win32/ComText.h"

#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace Assoc;

const char UsageText[] =
    "usage: tarnassoc install|uninstall|check [--user] [--dll PATH] [--package PATH]\n"
    "  install        attach the Tarnwick menu to all files for every user (needs administrator rights;\n"
    "                 register the library first: regsvr32 tarnctx.dll); on Windows 11, add the menu's\n"
    "                 package for the current user instead, with the library's folder as its location\n"
    "  uninstall      remove exactly what install wrote (on Windows 11, the package too)\n"
    "  check          say, one line each, whether every condition Explorer needs for the menus holds, and what\n"
    "                 to do where one does not; exit 0 when all hold, 1 otherwise (--user: the user's own install)\n"
    "  --user         for the current user alone, without administrator rights: also registers the library,\n"
    "                 through its own DllRegisterServer, in HKEY_CURRENT_USER\\Software\\Classes\n"
    "  --dll PATH     the library that --user registers (default: tarnctx.dll beside this program)\n"
    "  --package PATH the Windows 11 menu's package (default: tarnctx-menu.msix beside the library)\n"
    "Exit codes: 0 done, 2 usage, 3 library cannot be loaded, 4 access denied, 5 the library's registration\n"
    "failed, 6 another registry failure, 7 the package could not be added or removed, or the system did not\n"
    "confirm it, 1 unexpected fault.\n";

struct TRequest {
  bool Check = false;
  bool Install = false;
  bool PerUser = false;
  std::wstring Library;
  std::wstring Package;
};

// Without its last separator: the form PowerShell and the messages show.
std::wstring FolderOf(const std::wstring& path) {
  std::size_t separator = path.find_last_of(L'\\');
  return separator == std::wstring::npos ? L"." : path.substr(0, separator);
}

[[noreturn]] void Refuse(const std::string& message) { throw EAssocError(TExitCode::ecUsage, message); }

TRequest ParseRequest(const std::vector<std::wstring>& arguments) {
  if (arguments.empty()) Refuse("install, uninstall or check?");
  TRequest request;
  if (arguments[0] == L"install")
    request.Install = true;
  else if (arguments[0] == L"check")
    request.Check = true;
  else if (arguments[0] != L"uninstall")
    Refuse("unknown command: " + Tools::Utf8(arguments[0]));
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == L"--user")
      request.PerUser = true;
    else if (arguments[i] == L"--dll" && i + 1 < arguments.size())
      request.Library = arguments[++i];
    else if (arguments[i] == L"--package" && i + 1 < arguments.size())
      request.Package = arguments[++i];
    else
      Refuse("unknown option: " + Tools::Utf8(arguments[i]));
  }
  if (!request.Library.empty() && !request.PerUser) Refuse("--dll goes with --user; for every user use regsvr32");
  if (request.Library.empty()) request.Library = LibraryBesideProgram();
  if (request.Package.empty()) request.Package = FolderOf(request.Library) + L"\\" + PackageFileName;
  return request;
}

void Say(const std::wstring& text) { std::printf("%s\n", Tools::Utf8(text).c_str()); }

const TScope MachineScope{HKEY_LOCAL_MACHINE, false};
const TScope UserScope{HKEY_CURRENT_USER, true};

void InstallForMachine(const std::wstring& classText) {
  WriteAssociation(MachineScope, classText);
  Say(L"Installed for every user: HKCR\\" + std::wstring(HandlerKeyPath) + L" names " + classText +
      L", approved in HKLM\\" + ApprovedKeyPath);
  if (!Tools::IsClassRegistered(ContextM::CLSID_TarnwickContextMenu))
    Say(L"The class is not registered yet: regsvr32 tarnctx.dll registers it.");
}

void UninstallForMachine(const std::wstring& classText) {
  if (!RemoveAssociation(MachineScope, classText))
    Say(L"Left HKCR\\" + std::wstring(HandlerKeyPath) + L" as it is: it names another class.");
  Say(L"Removed for every user: the handler key and the approval of " + classText);
}

void InstallForUser(const std::wstring& classText, const TServerLibrary& library) {
  {
    TUserClassesRoot userClasses;
    library.Register();
    WriteAssociation(UserScope, classText);
  }
  Say(L"Registered " + library.Path() + L" for this user in HKCU\\Software\\Classes\\CLSID\\" + classText);
  Say(L"Installed for this user: HKCU\\Software\\Classes\\" + std::wstring(HandlerKeyPath) + L", approved in HKCU\\" +
      ApprovedKeyPath);
}

void UninstallForUser(const std::wstring& classText, const TServerLibrary& library) {
  bool ours;
  {
    TUserClassesRoot userClasses;
    ours = RemoveAssociation(UserScope, classText);
    library.Unregister();
    RemoveEmptyKeys(HKEY_CLASSES_ROOT, L"CLSID", 1);
  }
  if (!ours)
    Say(L"Left HKCU\\Software\\Classes\\" + std::wstring(HandlerKeyPath) + L" as it is: it names another class.");
  Say(L"Removed for this user: the class of " + library.Path() + L", the handler key and the approval");
}

// Windows 11's "Show more options" menu lists packaged commands too: with the package, a classic association
// would show Tarnwick twice there, so the package replaces it, also one left from before an upgrade.
void InstallPackage(const TRequest& request, const std::wstring& classText) {
  AddPackage(request.Package, FolderOf(request.Library));
  Say(L"Added the package " + std::wstring(PackageName) + L" for this user, its library in " +
      FolderOf(request.Library));
  if (RemoveAssociation(request.PerUser ? UserScope : MachineScope, classText))
    Say(L"No classic association: on Windows 11 the package's command stands in both menus");
}

void UninstallPackage() {
  RemovePackage();
  Say(L"Removed the package " + std::wstring(PackageName) + L" for this user");
}

void RunClassic(const TRequest& request, const std::wstring& classText) {
  if (!request.PerUser) return request.Install ? InstallForMachine(classText) : UninstallForMachine(classText);
  TServerLibrary library(request.Library);
  request.Install ? InstallForUser(classText, library) : UninstallForUser(classText, library);
}

int Run(const TRequest& request) {
  if (request.Check) return ReportConditions(CheckConditions(request.PerUser), request.PerUser);
  std::wstring classText = Win32::ClassIdText(ContextM::CLSID_TarnwickContextMenu);
  DWORD build = WindowsBuild();
  if (!HasModernMenu(build)) {
    RunClassic(request, classText);
  } else if (request.Install) {
    Say(L"Windows build " + std::to_wstring(build) + L": Tarnwick goes into Windows 11's menu through its package");
    InstallPackage(request, classText);
  } else {
    // The classic entries first: they go even when the system does not confirm the package's removal.
    RunClassic(request, classText);
    UninstallPackage();
  }
  NotifyExplorer();
  return 0;
}

int Fail(TExitCode code, const char* message) {
  std::fflush(stdout);
  std::fprintf(stderr, "tarnassoc: %s\n", message);
  if (code == TExitCode::ecUsage) std::fputs(UsageText, stderr);
  return static_cast<int>(code);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  try {
    return Run(ParseRequest(std::vector<std::wstring>(argv + 1, argv + argc)));
  } catch (const EAssocError& error) {
    return Fail(error.Code(), error.what());
  } catch (const std::exception& error) {
    return Fail(TExitCode::ecUnexpected, error.what());
  } catch (...) {
    return Fail(TExitCode::ecUnexpected, "unexpected failure");
  }
}
