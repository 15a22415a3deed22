// tarnassoc check under Wine: a good install holds every condition; each fault, made in turn, is named alone.
#include "RegistryState.h"
#include "ToolRun.h"
#include "support/Platform.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace fs = std::filesystem;

namespace {

const char OtherClass[] = "{0BADC0DE-0000-4000-8000-000000000002}";
const std::string ClassKey = std::string("CLSID\\") + Testing::HandlerClassText;
const std::string ServerKey = ClassKey + "\\InprocServer32";
const char HandlerKey[] = "*\\shellex\\ContextMenuHandlers\\Tarnwick";
const char ShellExtensions[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions";
const char NtKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";

fs::path Library(const char* arch = "x64") {
  return arch == std::string("x64") ? Testing::BuildFolder() / "tarnctx.dll"
                                    : Testing::BuildFolder().parent_path() / arch / "tarnctx.dll";
}

Testing::TToolRun Assoc(const std::string& arguments) {
  return Testing::RunTool(Testing::Quoted(Testing::BuildFolder() / "tarnassoc.exe") + " " + arguments);
}

// A value of the machine's class key in the 32-bit or 64-bit registry view.
void SetClassValue(REGSAM view, const std::string& name, const std::string& value) {
  Win32::TRegKey key;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CLASSES_ROOT, ServerKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr,
                              key.put(), nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegSetValueExA(key.get(), name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1)),
            ERROR_SUCCESS);
}

void DeleteClass(HKEY root, const std::string& classesPath, REGSAM view) {
  Win32::TRegKey classes;
  if (::RegOpenKeyExA(root, classesPath.c_str(), 0, KEY_ALL_ACCESS | view, classes.put()) == ERROR_SUCCESS)
    ::RegDeleteTreeA(classes.get(), ClassKey.c_str());
}

// The names of the lines marked as not holding (FAIL) or not told (?), each of which must say what to do.
std::vector<std::string> Unmet(const Testing::TToolRun& run) {
  std::vector<std::string> names, lines = run.OutLines();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!lines[i].starts_with("  FAIL  ") && !lines[i].starts_with("  ?     ")) continue;
    names.push_back(lines[i].substr(8, lines[i].find(':') - 8));
    EXPECT_TRUE(i + 1 < lines.size() && lines[i + 1].starts_with("        what to do: ")) << lines[i];
  }
  return names;
}

// The conditions name the registry views, and a good install here has both libraries: the x64 build checks, as
// the other builds' stages hold only their own library.
#ifdef __x86_64__
constexpr bool From64BitBuild = true;
#else
constexpr bool From64BitBuild = false;
#endif
const char SkipReason[] = "tarnassoc check is tested from the x64 build, where both registry views and libraries are";

struct TFault {
  const char* What;
  std::function<void(const Testing::TTempFolder&)> Make;
  const char* Unmet;
  const char* Mentions = "";  // a text the line must hold, e.g. the other class it names
};

}  // namespace

// For every user: the library registered by regsvr32 in the 64-bit view, the 32-bit library's rows written as
// the installer writes them (no 32-bit code runs here), the association and approval by tarnassoc install.
class CheckTest : public ::testing::TestWithParam<TFault> {
protected:
  void SetUp() override {
    if (!From64BitBuild) GTEST_SKIP() << SkipReason;
    for (const char* name : {"CurrentVersion", "CurrentBuildNumber", "CSDVersion"}) {
      char text[64];
      DWORD size = sizeof text;
      if (::RegGetValueA(HKEY_LOCAL_MACHINE, NtKey, name, RRF_RT_REG_SZ, nullptr, text, &size) == ERROR_SUCCESS)
        Version[name] = text;
    }
    ASSERT_EQ(Testing::RunTool("regsvr32 /s " + Testing::Quoted(Library())).ExitCode, 0u);
    SetClassValue(KEY_WOW64_32KEY, "", Library("x86").string());
    SetClassValue(KEY_WOW64_32KEY, "ThreadingModel", "Apartment");
    ASSERT_EQ(Assoc("install").ExitCode, 0u);
    Options.SetString("ExeName", (Testing::BuildFolder() / "tools" / "standin.exe").string());
  }
  void TearDown() override {
    if (!From64BitBuild) return;
    for (const char* name : {"CurrentVersion", "CurrentBuildNumber", "CSDVersion"})
      Version.contains(name) ? Testing::SetRegistryString(HKEY_LOCAL_MACHINE, NtKey, name, Version[name])
                             : void(::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, NtKey, name));
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, HandlerKey);
    Assoc("uninstall");
    Testing::RunTool("regsvr32 /s /u " + Testing::Quoted(Library()));
    DeleteClass(HKEY_CLASSES_ROOT, "", 0);
    DeleteClass(HKEY_LOCAL_MACHINE, "Software\\Classes", KEY_WOW64_32KEY);
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
      ::RegDeleteKeyValueA(root, (std::string(ShellExtensions) + "\\Blocked").c_str(), Testing::HandlerClassText);
  }
  std::map<std::string, std::string> Version;
  Testing::TOptionsKey Options;
  Testing::TTempFolder Folder{"tarnctx-check"};
};

TEST_F(CheckTest, AGoodInstallHoldsEveryCondition) {
  Testing::TToolRun check = Assoc("check");
  EXPECT_EQ(check.ExitCode, 0u) << check.Out;
  EXPECT_EQ(Unmet(check), std::vector<std::string>{}) << check.Out;
  for (const char* line : {"  ok    class in the 64-bit view: ", "  ok    library of the 32-bit view: ",
                           "  ok    creation: ", "  ok    main application: ", "All 12 conditions hold."})
    EXPECT_NE(check.Out.find(line), std::string::npos) << line << "\n" << check.Out;
}

TEST_P(CheckTest, EachFaultIsNamedAloneAndFails) {
  GetParam().Make(Folder);
  Testing::TToolRun check = Assoc("check");
  EXPECT_EQ(check.ExitCode, 1u) << check.Out;
  EXPECT_EQ(Unmet(check), std::vector<std::string>{GetParam().Unmet}) << check.Out;
  EXPECT_NE(check.Out.find(GetParam().Mentions), std::string::npos) << check.Out;
}

namespace {

void SetHklm(const std::string& path, const std::string& name, const std::string& value) {
  Testing::SetRegistryString(HKEY_LOCAL_MACHINE, path, name, value);
}
const std::string Blocked = std::string(ShellExtensions) + "\\Blocked";

const TFault Faults[] = {
    {"ClassRemovedFrom64BitView", [](auto&) { DeleteClass(HKEY_CLASSES_ROOT, "", 0); }, "class in the 64-bit view"},
    {"ClassRemovedFrom32BitView",
     [](auto&) { DeleteClass(HKEY_LOCAL_MACHINE, "Software\\Classes", KEY_WOW64_32KEY); }, "class in the 32-bit view"},
    {"LibraryMoved", [](auto& folder) { SetClassValue(0, "", (folder.Path() / "gone.dll").string()); },
     "library of the 64-bit view", "does not exist"},
    {"X86LibraryIn64BitView", [](auto&) { SetClassValue(0, "", Library("x86").string()); },
     "library of the 64-bit view", "is x86, this view needs x64"},
    {"X64LibraryIn32BitView", [](auto&) { SetClassValue(KEY_WOW64_32KEY, "", Library().string()); },
     "library of the 32-bit view", "is x64, this view needs x86"},
    {"ThreadingModelBoth", [](auto&) { SetClassValue(0, "ThreadingModel", "Both"); },
     "threading model of the 64-bit view", "\"Both\""},
    {"AssociationRemoved", [](auto&) { ::RegDeleteTreeA(HKEY_CLASSES_ROOT, HandlerKey); }, "association"},
    {"AssociationNamesAnotherClass",
     [](auto&) { Testing::SetRegistryString(HKEY_CLASSES_ROOT, HandlerKey, "", OtherClass); }, "association",
     OtherClass},
    {"ApprovalRemoved",
     [](auto&) {
       ::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, (std::string(ShellExtensions) + "\\Approved").c_str(),
                            Testing::HandlerClassText);
     },
     "approval"},
    {"BlockedForTheMachine", [](auto&) { SetHklm(Blocked, Testing::HandlerClassText, ""); }, "not blocked", "HKLM"},
    {"BlockedForTheUser",
     [](auto&) { Testing::SetRegistryString(HKEY_CURRENT_USER, Blocked, Testing::HandlerClassText, ""); },
     "not blocked", "HKCU"},
    // The header intact, the code cut off: the right file kind, but no library Windows can load.
    {"LibraryCorrupt",
     [](auto& folder) {
       fs::path copy = folder.Path() / "tarnctx.dll";
       fs::copy_file(Library(), copy);
       fs::resize_file(copy, 4096);
       SetClassValue(0, "", copy.string());
     },
     "creation", "CoCreateInstance answered"},
    {"OptionsMissing", [](auto&) { Testing::TOptionsKey::Delete(); }, "options"},
    {"ExeNameNamesNoFile",
     [](auto& folder) {
       Testing::SetRegistryString(HKEY_CURRENT_USER, "Software\\Velmora\\Tarnwick 3.0\\Options", "ExeName",
                                  (folder.Path() / "gone.exe").string());
     },
     "main application", "gone.exe, which does not exist"},
    // Windows 11 needs the package instead of the association; Wine's PowerShell cannot say whether it is there.
    {"Windows11PackageCannotBeTold",
     [](auto&) {
       ::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, NtKey, "CSDVersion");
       SetHklm(NtKey, "CurrentVersion", "6.3");
       SetHklm(NtKey, "CurrentBuildNumber", "22000");
     },
     "Windows 11 menu package", "  --    association: not needed on Windows build 22000"},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Faults, CheckTest, ::testing::ValuesIn(Faults),
                         [](const auto& info) { return std::string(info.param.What); });

// For the current user's own install, which registers only this architecture's library, in the user's classes.
class UserCheckTest : public ::testing::TestWithParam<TFault> {
protected:
  void SetUp() override {
    if (!From64BitBuild) GTEST_SKIP() << SkipReason;
    Testing::RunTool("regsvr32 /s /u " + Testing::Quoted(Library()));
    ASSERT_EQ(Assoc("install --user --dll " + Testing::Quoted(Library())).ExitCode, 0u);
    Options.SetString("ExeName", (Testing::BuildFolder() / "tools" / "standin.exe").string());
  }
  void TearDown() override {
    if (!From64BitBuild) return;
    ::RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\Classes\\") + HandlerKey).c_str());
    Assoc("uninstall --user --dll " + Testing::Quoted(Library()));
  }
  Testing::TOptionsKey Options;
  Testing::TTempFolder Folder{"tarnctx-check"};
};

TEST_F(UserCheckTest, AGoodInstallHoldsEveryCondition) {
  Testing::TToolRun check = Assoc("check --user");
  EXPECT_EQ(check.ExitCode, 0u) << check.Out;
  EXPECT_EQ(Unmet(check), std::vector<std::string>{}) << check.Out;
  EXPECT_NE(check.Out.find("HKCU\\Software\\Classes\\*\\shellex\\ContextMenuHandlers\\Tarnwick names"),
            std::string::npos)
      << check.Out;
  EXPECT_NE(check.Out.find("All 9 conditions hold."), std::string::npos) << check.Out;
}

TEST_P(UserCheckTest, EachFaultIsNamedAloneAndFails) {
  GetParam().Make(Folder);
  Testing::TToolRun check = Assoc("check --user");
  EXPECT_EQ(check.ExitCode, 1u) << check.Out;
  EXPECT_EQ(Unmet(check), std::vector<std::string>{GetParam().Unmet}) << check.Out;
  EXPECT_NE(check.Out.find(GetParam().Mentions), std::string::npos) << check.Out;
}

namespace {

const TFault UserFaults[] = {
    {"ClassRemoved", [](auto&) { DeleteClass(HKEY_CURRENT_USER, "Software\\Classes", 0); },
     "class in the 64-bit view", "tarnassoc install --user"},
    {"AssociationNamesAnotherClass",
     [](auto&) {
       Testing::SetRegistryString(HKEY_CURRENT_USER, std::string("Software\\Classes\\") + HandlerKey, "", OtherClass);
     },
     "association", OtherClass},
    {"ApprovalRemoved",
     [](auto&) {
       ::RegDeleteKeyValueA(HKEY_CURRENT_USER, (std::string(ShellExtensions) + "\\Approved").c_str(),
                            Testing::HandlerClassText);
     },
     "approval", "HKCU\\"},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Faults, UserCheckTest, ::testing::ValuesIn(UserFaults),
                         [](const auto& info) { return std::string(info.param.What); });
