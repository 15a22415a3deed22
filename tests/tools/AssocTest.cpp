// The association tool under Wine: exact, repeatable installs and removals, for every user or for one.
#include "RegistryState.h"
#include "ToolRun.h"
#include "support/Platform.h"

#include <gtest/gtest.h>

#include <optional>

namespace fs = std::filesystem;
using Testing::TRegistryTree;

namespace {

const char ShellExtensions[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions";
const char OtherClass[] = "{0BADC0DE-0000-4000-8000-000000000002}";

fs::path Library() { return Testing::BuildFolder() / "tarnctx.dll"; }

Testing::TToolRun Assoc(const std::string& arguments) {
  return Testing::RunTool(Testing::Quoted(Testing::BuildFolder() / "tarnassoc.exe") + " " + arguments);
}

Testing::TToolRun Host(const std::string& arguments) {
  return Testing::RunTool(Testing::Quoted(Testing::BuildFolder() / "tools" / "shellhost.exe") + " " + arguments);
}

// The keys that the tool may touch, for every user and for the current one.
struct TState {
  TRegistryTree AllFiles, MachineApproved, UserClasses, UserApproved;
  bool operator==(const TState&) const = default;
};

TState ReadState() {
  return {Testing::TreeAt(HKEY_CLASSES_ROOT, "*"), Testing::TreeAt(HKEY_LOCAL_MACHINE, ShellExtensions),
          Testing::TreeAt(HKEY_CURRENT_USER, "Software\\Classes"), Testing::TreeAt(HKEY_CURRENT_USER, ShellExtensions)};
}

bool IsEmptyKey(HKEY root, const char* path) {
  Win32::TRegKey key;
  DWORD subkeys = 1, values = 1;
  return ::RegOpenKeyExA(root, path, 0, KEY_READ, key.put()) == ERROR_SUCCESS &&
         ::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS &&
         subkeys == 0 && values == 0;
}

}  // namespace

class AssocTest : public ::testing::Test {
protected:
  void TearDown() override {
    Assoc("uninstall");
    Assoc("uninstall --user --dll " + Testing::Quoted(Library()));
    for (const char* key :
         {"*\\shellex\\ContextMenuHandlers\\TarnctxOther", "*\\shellex\\ContextMenuHandlers\\Tarnwick"})
      ::RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
    ::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, (std::string(ShellExtensions) + "\\Approved").c_str(), OtherClass);
  }
};

TEST_F(AssocTest, InstallWritesTheHandlerKeyAndApprovalAndUninstallRemovesExactlyThem) {
  TState before = ReadState();
  Testing::TToolRun install = Assoc("install");
  ASSERT_EQ(install.ExitCode, 0u) << install.Err;
  TState installed = ReadState();

  TState expected = before;
  expected.AllFiles["shellex\\ContextMenuHandlers\\Tarnwick"] = {{"", Testing::HandlerClassText}};
  expected.MachineApproved["Approved"][Testing::HandlerClassText] = "Tarnwick";
  EXPECT_EQ(installed, expected);

  EXPECT_EQ(Assoc("install").ExitCode, 0u);
  EXPECT_EQ(ReadState(), installed) << "a second install changes nothing";
  EXPECT_EQ(Assoc("uninstall").ExitCode, 0u);
  EXPECT_EQ(ReadState(), before);
  EXPECT_EQ(Assoc("uninstall").ExitCode, 0u);
  EXPECT_EQ(ReadState(), before) << "a second uninstall changes nothing";
}

TEST_F(AssocTest, OtherHandlersAndTheirApprovalsAreLeftAlone) {
  Testing::SetRegistryString(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\TarnctxOther", "", OtherClass);
  Testing::SetRegistryString(HKEY_LOCAL_MACHINE, std::string(ShellExtensions) + "\\Approved", OtherClass, "Other");
  TState before = ReadState();
  ASSERT_EQ(Assoc("install").ExitCode, 0u);
  ASSERT_EQ(Assoc("uninstall").ExitCode, 0u);
  EXPECT_EQ(ReadState(), before);

  // A "Tarnwick" entry that some other product made for its own class is not this tool's to remove.
  Testing::SetRegistryString(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\Tarnwick", "", OtherClass);
  Testing::TToolRun uninstall = Assoc("uninstall");
  EXPECT_EQ(uninstall.ExitCode, 0u);
  EXPECT_TRUE(uninstall.Out.starts_with("Left HKCR\\*\\shellex\\ContextMenuHandlers\\Tarnwick as it is"))
      << uninstall.Out;
  EXPECT_EQ(Testing::TreeAt(HKEY_CLASSES_ROOT, "*")["shellex\\ContextMenuHandlers\\Tarnwick"][""], OtherClass);
}

TEST_F(AssocTest, WrongArgumentsAndAMissingLibraryHaveTheirExitCodes) {
  EXPECT_EQ(Assoc("").ExitCode, 2u);
  EXPECT_EQ(Assoc("reinstall").ExitCode, 2u);
  EXPECT_EQ(Assoc("install --dll x.dll").ExitCode, 2u) << "--dll goes with --user";
  TState before = ReadState();
  Testing::TToolRun missing = Assoc("install --user --dll " + Testing::Quoted(Library().parent_path() / "none.dll"));
  EXPECT_EQ(missing.ExitCode, 3u);
  EXPECT_EQ(ReadState(), before);
}

// For the current user alone --------------------------------------------------------------------------

class UserAssocTest : public AssocTest {
protected:
  void SetUp() override {
    // Nothing of the class for every user, so that only the user's own registration can make the handler work.
    Testing::RunTool("regsvr32 /s /u " + Testing::Quoted(Library()));
    Assoc("uninstall");
    // A user without classes of their own: an empty key there means nothing, and removal takes emptied ones.
    for (const char* key : {"Software\\Classes\\CLSID", "Software\\Classes\\*\\shellex\\ContextMenuHandlers",
                            "Software\\Classes\\*\\shellex", "Software\\Classes\\*"})
      if (IsEmptyKey(HKEY_CURRENT_USER, key)) ::RegDeleteKeyA(HKEY_CURRENT_USER, key);
  }
  void TearDown() override {
    AssocTest::TearDown();
    for (const char* key : {"Software\\Classes\\CLSID\\{0BADC0DE-0000-4000-8000-000000000002}",
                            "Software\\Classes\\*\\shellex\\ContextMenuHandlers\\TarnctxOther"})
      ::RegDeleteTreeA(HKEY_CURRENT_USER, key);
  }
  Testing::TOptionsKey Options;
  Testing::TTempFolder Folder{"tarnctx-assoc"};
};

TEST_F(UserAssocTest, InstallTouchesNoMachineKeyAndTheHostFindsAndRunsTheHandler) {
  TRegistryTree machineClasses = Testing::TreeAt(HKEY_LOCAL_MACHINE, "Software\\Classes");
  TState before = ReadState();
  Testing::TToolRun install = Assoc("install --user --dll " + Testing::Quoted(Library()));
  ASSERT_EQ(install.ExitCode, 0u) << install.Err;
  EXPECT_EQ(Testing::TreeAt(HKEY_LOCAL_MACHINE, "Software\\Classes"), machineClasses)
      << "the user's install wrote into the machine's classes";
  TState installed = ReadState();
  EXPECT_EQ(installed.MachineApproved, before.MachineApproved);
  std::string classKey = std::string("CLSID\\") + Testing::HandlerClassText;
  EXPECT_EQ(installed.UserClasses[classKey][""], "Orrery 4.0 Context Menu Shell Extension Example");
  EXPECT_EQ(installed.UserClasses[classKey + "\\InprocServer32"][""], Library().string());
  EXPECT_EQ(installed.UserClasses["*\\shellex\\ContextMenuHandlers\\Tarnwick"][""], Testing::HandlerClassText);
  EXPECT_EQ(installed.UserApproved["Approved"][Testing::HandlerClassText], "Tarnwick");

  Testing::TStandIn standIn(Folder, "main.exe");
  Options.SetString("ExeName", standIn.ExePath());
  std::string text = Folder.File("notes.txt");
  Testing::TToolRun run = Host("--invoke Tarnwick/Shred... " + Testing::Quoted(text));
  ASSERT_EQ(run.ExitCode, 0u) << run.Err;
  ASSERT_GE(run.OutLines().size(), 2u);
  EXPECT_EQ(run.OutLines()[1], std::string("Handler ") + Testing::HandlerClassText +
                                   " from HKCU\\Software\\Classes\\*\\shellex\\ContextMenuHandlers\\Tarnwick, created "
                                   "from the user's own registration, " +
                                   Library().string());
  Testing::TRecordedLaunch launch = standIn.Wait();
  ASSERT_TRUE(launch.Started);
  EXPECT_EQ(launch.CommandLine, standIn.ExePath() + " /s \"" + text + "\" ");

  EXPECT_EQ(Assoc("install --user --dll " + Testing::Quoted(Library())).ExitCode, 0u);
  EXPECT_EQ(ReadState(), installed) << "a second install changes nothing";
  EXPECT_EQ(Assoc("uninstall --user --dll " + Testing::Quoted(Library())).ExitCode, 0u);
  EXPECT_EQ(ReadState(), before);
  EXPECT_EQ(Assoc("uninstall --user --dll " + Testing::Quoted(Library())).ExitCode, 0u);
  EXPECT_EQ(ReadState(), before) << "a second uninstall changes nothing";
  EXPECT_EQ(Testing::TreeAt(HKEY_LOCAL_MACHINE, "Software\\Classes"), machineClasses);
}

TEST_F(UserAssocTest, UninstallLeavesTheUsersOtherClassesAndHandlers) {
  Testing::SetRegistryString(HKEY_CURRENT_USER, std::string("Software\\Classes\\CLSID\\") + OtherClass, "", "Other");
  Testing::SetRegistryString(HKEY_CURRENT_USER, "Software\\Classes\\*\\shellex\\ContextMenuHandlers\\TarnctxOther", "",
                             OtherClass);
  TState before = ReadState();
  ASSERT_EQ(Assoc("install --user --dll " + Testing::Quoted(Library())).ExitCode, 0u);
  ASSERT_EQ(Assoc("uninstall --user --dll " + Testing::Quoted(Library())).ExitCode, 0u);
  EXPECT_EQ(ReadState(), before);
}

// Windows 11 -------------------------------------------------------------------------------------------

// Wine 8 knows no "win11" setting; without one it reports the version that the registry's Windows NT key holds,
// and Windows 11 keeps "6.3" and its build there. The key is put back as it was.
class ModernAssocTest : public AssocTest {
protected:
  void SetUp() override {
    for (const char* name : VersionValues) Saved[name] = ReadValue(name);
  }
  void TearDown() override {
    for (const auto& [name, value] : Saved)
      value ? Testing::SetRegistryString(HKEY_LOCAL_MACHINE, NtKey, name, *value)
            : void(::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, NtKey, name.c_str()));
    AssocTest::TearDown();
  }
  static std::optional<std::string> ReadValue(const char* name) {
    char text[64];
    DWORD size = sizeof text;
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, NtKey, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
      return std::nullopt;
    return std::string(text);
  }
  void ReportBuild(const char* build) {
    ::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, NtKey, "CSDVersion");
    Testing::SetRegistryString(HKEY_LOCAL_MACHINE, NtKey, "CurrentVersion", "6.3");
    Testing::SetRegistryString(HKEY_LOCAL_MACHINE, NtKey, "CurrentBuildNumber", build);
  }
  static constexpr char NtKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";
  static constexpr const char* VersionValues[] = {"CurrentVersion", "CurrentBuildNumber", "CSDVersion"};
  std::map<std::string, std::optional<std::string>> Saved;
  Testing::TTempFolder Folder{"tarnctx o'package"};
};

TEST_F(ModernAssocTest, OnWindows11ThePackageReplacesTheClassicAssociationOnlyWhenTheSystemConfirmsIt) {
  std::string package = Folder.File("tarnctx-menu.msix");
  std::string folder = Library().parent_path().string();
  ASSERT_EQ(Assoc("install").ExitCode, 0u) << "a classic association from before an upgrade to Windows 11";
  TState classic = ReadState();

  ReportBuild("22000");
  Testing::TToolRun install = Assoc("install --package " + Testing::Quoted(package));
  std::string quotedPackage = "'" + package + "'";
  quotedPackage.replace(quotedPackage.find("o'p"), 3, "o''p");
  EXPECT_NE(install.Out.find("-Command \"Add-AppxPackage -Path " + quotedPackage + " -ExternalLocation '" + folder +
                             "' -ErrorAction Stop; (Get-AppxPackage -Name 'Velmora.Tarnwick.ContextMenu')"
                             ".PackageFullName\""),
            std::string::npos)
      << install.Out;
  // Wine's PowerShell does nothing and says nothing: that is no confirmation, and nothing else changes.
  EXPECT_EQ(install.ExitCode, 7u) << install.Out << install.Err;
  EXPECT_EQ(ReadState(), classic);

  Testing::TToolRun uninstall = Assoc("uninstall");
  EXPECT_NE(uninstall.Out.find("Get-AppxPackage -Name 'Velmora.Tarnwick.ContextMenu' | Remove-AppxPackage"),
            std::string::npos)
      << uninstall.Out;
  EXPECT_EQ(uninstall.ExitCode, 7u);

  ReportBuild("19045");
  Testing::TToolRun onWindows10 = Assoc("install --package " + Testing::Quoted(package));
  EXPECT_EQ(onWindows10.ExitCode, 0u) << onWindows10.Err;
  EXPECT_EQ(onWindows10.Out.find("powershell"), std::string::npos) << onWindows10.Out;
  EXPECT_EQ(ReadState(), classic);
}
