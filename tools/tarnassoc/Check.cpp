// Reads the registry as Explorer does, per registry view, loads the class as Explorer would, and asks the system
// for the Windows 11 package only where that is needed and it can answer.
#include "Check.h"

#include "AssocError.h"
#include "Association.h"
#include "ModernMenu.h"
#include "UserClasses.h"
#include "shell/Identities.h"
#include "tools/ServerModule.h"
#include "tools/ToolText.h"
#include "win32/ComText.h"
#include "win32/Handles.h"
#include "win32/Text.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

namespace Assoc {

namespace {

constexpr wchar_t ShellExtensionsPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions";

struct TView {
  int Bits;
  REGSAM Access;  // KEY_WOW64_32KEY or KEY_WOW64_64KEY for the other view, nothing for this process's own
  WORD Machine;   // the processor a library in this view must be built for
};

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path, const wchar_t* name, REGSAM view = 0) {
  Win32::TRegKey key;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | view, key.put()) != ERROR_SUCCESS) return std::nullopt;
  wchar_t value[MAX_PATH * 2];
  DWORD size = sizeof value;
  // REG_EXPAND_SZ is accepted and comes back expanded, as COM expands a server path.
  if (::RegGetValueW(key.get(), nullptr, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(value);
}

bool HasValue(HKEY root, const std::wstring& path, const std::wstring& name) {
  Win32::TRegKey key;
  return ::RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS &&
         ::RegQueryValueExW(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool FileExists(const std::wstring& path) {
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The machine field of a PE file's header; 0 when the file is no PE file.
WORD PeMachine(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  IMAGE_DOS_HEADER dos{};
  DWORD signature = 0;
  IMAGE_FILE_HEADER header{};
  if (!file.read(reinterpret_cast<char*>(&dos), sizeof dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) return 0;
  file.seekg(dos.e_lfanew);
  if (!file.read(reinterpret_cast<char*>(&signature), sizeof signature) || signature != IMAGE_NT_SIGNATURE) return 0;
  return file.read(reinterpret_cast<char*>(&header), sizeof header) ? header.Machine : 0;
}

std::string MachineName(WORD machine) {
  switch (machine) {
    case IMAGE_FILE_MACHINE_I386: return "x86";
    case IMAGE_FILE_MACHINE_AMD64: return "x64";
    case 0xAA64: return "arm64";  // IMAGE_FILE_MACHINE_ARM64, which older headers lack
    case 0: return "not a Windows program file";
    default: {
      char text[32];
      std::snprintf(text, sizeof text, "machine 0x%04X", machine);
      return text;
    }
  }
}

bool OnWindows64() {
  if (sizeof(void*) == 8) return true;
  BOOL wow64 = FALSE;
  return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

WORD NativeMachine64() {
  SYSTEM_INFO system{};
  ::GetNativeSystemInfo(&system);
  return system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_ARM64 ? 0xAA64 : IMAGE_FILE_MACHINE_AMD64;
}

std::vector<TView> Views(bool perUser) {
  TView view32{32, 0, IMAGE_FILE_MACHINE_I386}, view64{64, 0, NativeMachine64()};
  if (!OnWindows64()) return {view32};
  bool process64 = sizeof(void*) == 8;
  (process64 ? view32 : view64).Access = process64 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  // A user's own install registers the library of the tool's architecture only.
  if (perUser) return {process64 ? view64 : view32};
  return process64 ? std::vector<TView>{view64, view32} : std::vector<TView>{view32, view64};
}

std::string HexResult(HRESULT result) { return "0x" + Win32::HexDigits(static_cast<std::uint32_t>(result)); }

class TChecker {
public:
  explicit TChecker(bool perUser)
      : FPerUser(perUser),
        FClass(Win32::ClassIdText(ContextM::CLSID_TarnwickContextMenu)),
        FClassesName(perUser ? "HKCU\\Software\\Classes" : "HKCR"),
        FApprovedName(perUser ? "HKCU\\" : "HKLM\\") {}

  std::vector<TCondition> Run() {
    // The user's own classes alone, as the user's install wrote them.
    std::optional<TUserClassesRoot> userClasses;
    if (FPerUser) userClasses.emplace();
    bool creatable = true;
    for (const TView& view : Views(FPerUser)) creatable &= CheckView(view) || view.Access != 0;
    CheckAssociation();
    CheckBlocked();
    if (creatable)
      CheckCreation();
    else
      Add(TVerdict::vdInfo, "creation", "not tried: this process's view fails above", "");
    CheckOptions();
    CheckPackage();
    return std::move(FConditions);
  }

private:
  void Add(TVerdict verdict, const std::string& name, const std::string& detail, const std::string& remedy) {
    FConditions.push_back({verdict, name, detail, remedy});
  }

  std::string Register(int bits) const {
    return FPerUser
               ? "tarnassoc install --user"
               : "repair the installation (msiexec /fa with the package), or as administrator run " +
                     std::string(bits == 32 && OnWindows64() ? "32-bit regsvr32 (%WINDIR%\\SysWOW64) on the 32-bit"
                                                             : "regsvr32 on the " + std::to_string(bits) + "-bit") +
                     " tarnctx.dll";
  }

  // The class, its library and its threading model in one registry view; true when all three hold.
  bool CheckView(const TView& view) {
    std::string bits = std::to_string(view.Bits) + "-bit view";
    std::wstring serverKey = L"CLSID\\" + FClass + L"\\InprocServer32";
    std::string where = FClassesName + "\\" + Tools::Utf8(serverKey);
    std::optional<std::wstring> server = ReadString(HKEY_CLASSES_ROOT, serverKey, nullptr, view.Access);
    if (!server || server->empty()) {
      Add(TVerdict::vdFail, "class in the " + bits, "no library named in " + where, Register(view.Bits));
      return false;
    }
    Add(TVerdict::vdOk, "class in the " + bits, where + " names " + Tools::Utf8(*server), "");
    if (view.Access == 0) FServer = *server;
    bool holds = true;
    WORD machine = FileExists(*server) ? PeMachine(*server) : 0;
    if (!FileExists(*server)) {
      Add(TVerdict::vdFail, "library of the " + bits, Tools::Utf8(*server) + " does not exist",
          "the file was moved or deleted: " + Register(view.Bits));
      holds = false;
    } else if (machine != view.Machine) {
      Add(TVerdict::vdFail, "library of the " + bits,
          Tools::Utf8(*server) + " is " + MachineName(machine) + ", this view needs " + MachineName(view.Machine),
          "register the " + MachineName(view.Machine) + " tarnctx.dll in this view: " + Register(view.Bits));
      holds = false;
    } else {
      Add(TVerdict::vdOk, "library of the " + bits, Tools::Utf8(*server) + " exists, " + MachineName(machine), "");
    }
    std::optional<std::wstring> model = ReadString(HKEY_CLASSES_ROOT, serverKey, L"ThreadingModel", view.Access);
    if (!model || ::CompareStringOrdinal(model->c_str(), -1, L"Apartment", -1, TRUE) != CSTR_EQUAL) {
      Add(TVerdict::vdFail, "threading model of the " + bits,
          "ThreadingModel is " + (model ? "\"" + Tools::Utf8(*model) + "\"" : std::string("missing")) +
              "; Explorer creates the handler only as Apartment",
          Register(view.Bits));
      return false;
    }
    Add(TVerdict::vdOk, "threading model of the " + bits, "Apartment", "");
    return holds;
  }

  void CheckAssociation() {
    std::string where = FClassesName + "\\" + Tools::Utf8(HandlerKeyPath);
    std::string approvedWhere = FApprovedName + Tools::Utf8(ApprovedKeyPath);
    DWORD build = WindowsBuild();
    if (HasModernMenu(build)) {
      std::string why =
          "not needed on Windows build " + std::to_string(build) + ": the package's command stands in both menus";
      Add(TVerdict::vdInfo, "association", why, "");
      Add(TVerdict::vdInfo, "approval", why, "");
      return;
    }
    std::string install = FPerUser ? "tarnassoc install --user" : "tarnassoc install (as administrator)";
    std::optional<std::wstring> named = ReadString(HKEY_CLASSES_ROOT, HandlerKeyPath, nullptr);
    if (!named)
      Add(TVerdict::vdFail, "association", where + " is missing", install);
    else if (::CompareStringOrdinal(named->c_str(), -1, FClass.c_str(), -1, TRUE) != CSTR_EQUAL)
      Add(TVerdict::vdFail, "association", where + " names " + Tools::Utf8(*named) + ", another class",
          "another product holds the name Tarnwick: remove that key, then " + install);
    else
      Add(TVerdict::vdOk, "association", where + " names " + Tools::Utf8(FClass), "");
    if (HasValue(FPerUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, ApprovedKeyPath, FClass))
      Add(TVerdict::vdOk, "approval", approvedWhere + " lists " + Tools::Utf8(FClass), "");
    else
      Add(TVerdict::vdFail, "approval", approvedWhere + " does not list " + Tools::Utf8(FClass), install);
  }

  // Explorer refuses a blocked class whoever installed it: both lists count in either scope.
  void CheckBlocked() {
    std::wstring blocked = std::wstring(ShellExtensionsPath) + L"\\Blocked";
    std::string lists;
    for (auto [root, name] : {std::pair{HKEY_LOCAL_MACHINE, "HKLM\\"}, std::pair{HKEY_CURRENT_USER, "HKCU\\"}})
      if (HasValue(root, blocked, FClass))
        lists += (lists.empty() ? "" : " and ") + std::string(name) + Tools::Utf8(blocked);
    if (lists.empty())
      Add(TVerdict::vdOk, "not blocked", "neither HKLM nor HKCU Shell Extensions\\Blocked lists the class", "");
    else
      Add(TVerdict::vdFail, "not blocked", lists + " lists " + Tools::Utf8(FClass),
          "an administrator or a policy blocked it: delete the value " + Tools::Utf8(FClass) +
              " there (where a policy sets it, ask its owner)");
  }

  void CheckCreation() {
    if (HRESULT init = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); FAILED(init)) {
      Add(TVerdict::vdUnknown, "creation", "COM cannot start in this process (" + HexResult(init) + ")", "run again");
      return;
    }
    std::string how = "the class is created in this process, as Explorer creates it";
    HRESULT result;
    {
      Win32::TComRef<IShellExtInit> handler;
      result = ::CoCreateInstance(ContextM::CLSID_TarnwickContextMenu, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(handler.put()));
      // Windows merges the user's own classes into HKCR for COM; a platform that does not (Wine) gets the
      // library loaded as COM would load it.
      if (result == REGDB_E_CLASSNOTREG && FPerUser && !FServer.empty()) {
        result = CreateFromServer(FServer);
        how = "the class is created in this process from the user's registration, its library loaded as COM loads it";
      }
    }
    ::CoUninitialize();
    if (SUCCEEDED(result))
      Add(TVerdict::vdOk, "creation", how, "");
    else
      Add(TVerdict::vdFail, "creation", "CoCreateInstance answered " + HexResult(result),
          "the library cannot be loaded or does not serve the class (damaged or replaced file): repair the "
          "installation");
  }

  static HRESULT CreateFromServer(const std::wstring& server) {
    Tools::TServerModule module(server);
    if (!module) return HRESULT_FROM_WIN32(::GetLastError());
    if (!module.GetClassObject) return CO_E_ERRORINDLL;
    HRESULT result;
    {
      Win32::TComRef<IClassFactory> factory;
      Win32::TComRef<IShellExtInit> handler;
      result = module.GetClassObject(ContextM::CLSID_TarnwickContextMenu, IID_PPV_ARGS(factory.put()));
      if (SUCCEEDED(result)) result = factory->CreateInstance(nullptr, IID_PPV_ARGS(handler.put()));
    }
    // A library that still counts objects stays loaded until the process ends.
    if (!module.CanUnloadNow || module.CanUnloadNow() != S_OK) module.KeepLoaded();
    return result;
  }

  void CheckOptions() {
    std::wstring key = Tools::FromUtf8(ContextM::OptionsKeyPath);
    std::string where = "HKCU\\" + std::string(ContextM::OptionsKeyPath);
    Win32::TRegKey options;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, options.put()) != ERROR_SUCCESS) {
      Add(TVerdict::vdFail, "options", where + " cannot be read",
          "start the Tarnwick suite once as this user, so that it writes its options");
      Add(TVerdict::vdInfo, "main application", "not tried: the options cannot be read", "");
      return;
    }
    Add(TVerdict::vdOk, "options", where + " can be read", "");
    std::optional<std::wstring> exeName =
        ReadString(HKEY_CURRENT_USER, key, Tools::FromUtf8(ContextM::ExeNameValue).c_str());
    if (!exeName || exeName->empty())
      Add(TVerdict::vdFail, "main application", "ExeName is missing from the options",
          "reinstall the Tarnwick suite, or set ExeName to its program");
    else if (!FileExists(*exeName))
      Add(TVerdict::vdFail, "main application", "ExeName names " + Tools::Utf8(*exeName) + ", which does not exist",
          "reinstall the Tarnwick suite, or set ExeName to where its program now is");
    else
      Add(TVerdict::vdOk, "main application", "ExeName names " + Tools::Utf8(*exeName) + ", which exists", "");
  }

  void CheckPackage() {
    DWORD build = WindowsBuild();
    std::string name = "Windows 11 menu package";
    if (!HasModernMenu(build)) {
      Add(TVerdict::vdInfo, name, "not used on Windows build " + std::to_string(build) + " (from 22000 on)", "");
      return;
    }
    TPackageState state = TPackageState::psUnknown;
    try {
      state = QueryPackage();
    } catch (const EAssocError&) {
      // PowerShell could not be started: the system's list was not read, which says nothing either way.
    }
    switch (state) {
      case TPackageState::psRegistered:
        Add(TVerdict::vdOk, name, Tools::Utf8(PackageName) + " is registered for this user", "");
        break;
      case TPackageState::psAbsent:
        Add(TVerdict::vdFail, name, Tools::Utf8(PackageName) + " is not registered for this user",
            FPerUser ? "tarnassoc install --user" : "tarnassoc install, as this user");
        break;
      case TPackageState::psUnknown:
        Add(TVerdict::vdUnknown, name,
            "the system did not say whether " + Tools::Utf8(PackageName) +
                " is registered (PowerShell gave no answer; under Wine it does nothing)",
            "on Windows, ask PowerShell: Get-AppxPackage " + Tools::Utf8(PackageName));
        break;
    }
  }

  bool FPerUser;
  std::wstring FClass;
  std::wstring FServer;  // the library this process's view names
  std::string FClassesName, FApprovedName;
  std::vector<TCondition> FConditions;
};

}  // namespace

std::vector<TCondition> CheckConditions(bool perUser) { return TChecker(perUser).Run(); }

int ReportConditions(const std::vector<TCondition>& conditions, bool perUser) {
  std::printf("The Tarnwick menus %s, checked from a %d-bit process:\n",
              perUser ? "for this user's own install" : "for every user", static_cast<int>(sizeof(void*) * 8));
  int counted = 0, failing = 0;
  for (const TCondition& condition : conditions) {
    static const char* const Marks[] = {"ok", "FAIL", "?", "--"};
    std::printf("  %-4s  %s: %s\n", Marks[static_cast<int>(condition.Verdict)], condition.Name.c_str(),
                condition.Detail.c_str());
    if (condition.Verdict == TVerdict::vdInfo) continue;
    ++counted;
    if (condition.Verdict == TVerdict::vdOk) continue;
    ++failing;
    std::printf("        what to do: %s\n", condition.Remedy.c_str());
  }
  if (failing == 0)
    std::printf("All %d conditions hold.\n", counted);
  else
    std::printf("%d of %d conditions do not hold or cannot be told (FAIL, ?).\n", failing, counted);
  return failing == 0 ? 0 : 1;
}

}  // namespace Assoc
