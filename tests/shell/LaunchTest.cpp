// Launching a real stand-in main application and reading back the line it received.
#include "shell/Launch.h"
#include "shell/Selection.h"
#include "support/Platform.h"

#include <gtest/gtest.h>

using namespace ContextM;
using Testing::TRecordedLaunch;
using Strings = std::vector<std::string>;

namespace {

CMINVOKECOMMANDINFO Invocation(UINT_PTR verb, HWND owner = nullptr) {
  CMINVOKECOMMANDINFO info{};
  info.cbSize = sizeof info;
  info.hwnd = owner;
  info.lpVerb = reinterpret_cast<LPCSTR>(verb);
  info.nShow = SW_SHOWNORMAL;
  return info;
}

void Select(Strings paths) { SetSelectedFiles(MakeSelection(std::move(paths))); }

}  // namespace

class LaunchTest : public ::testing::Test {
protected:
  void TearDown() override { SetSelectedFiles(nullptr); }

  // Installs a stand-in under the given name and stores the given ExeName (its path by default).
  void Install(const std::string& name, const char* exeName = nullptr) {
    StandIn = std::make_unique<Testing::TStandIn>(Folder, name);
    Options.SetString("ExeName", exeName ? exeName : StandIn->ExePath());
  }
  HRESULT Invoke(UINT_PTR verb, HWND owner = nullptr) {
    CMINVOKECOMMANDINFO info = Invocation(verb, owner);
    return InvokeCommand(&info);
  }

  Testing::TOptionsKey Options;
  Testing::TTempFolder Folder{"tarnctx-launch"};
  std::unique_ptr<Testing::TStandIn> StandIn;
  Testing::TMessageBoxWatcher Boxes;
};

TEST_F(LaunchTest, LineIsProgramSwitchAndQuotedPathsByteForByte) {
  Install("main.exe");
  Select({"C:\\a.txt", "C:\\b b\\c.txt"});
  EXPECT_EQ(Invoke(6), S_OK);
  TRecordedLaunch launch = StandIn->Wait();
  ASSERT_TRUE(launch.Started);
  EXPECT_EQ(launch.CommandLine, StandIn->ExePath() + " /s \"C:\\a.txt\" \"C:\\b b\\c.txt\" ");
  EXPECT_EQ(launch.Arguments, (Strings{"/s", "C:\\a.txt", "C:\\b b\\c.txt"}));
  EXPECT_TRUE(Boxes.Boxes().empty());
  EXPECT_EQ(SelectedFiles(), nullptr) << "the selection is spent";
}

TEST_F(LaunchTest, EveryItemPassesItsSwitch) {
  Install("main.exe");
  const std::pair<UINT, const char*> switches[] = {{0, "/h"}, {1, "/u"}, {3, "/e"},  {4, "/d"},
                                                   {6, "/s"}, {7, "/c"}, {8, "/uh"}, {9, "/es"}};
  for (auto [offset, expected] : switches) {
    Select({"C:\\x.twk"});
    ASSERT_EQ(Invoke(offset), S_OK);
    TRecordedLaunch launch = StandIn->Wait();
    ASSERT_TRUE(launch.Started) << offset;
    EXPECT_EQ(launch.Arguments, (Strings{expected, "C:\\x.twk"})) << offset;
  }
}

TEST_F(LaunchTest, EmptySelectionStartsWithTheSwitchAlone) {
  Install("main.exe");
  Select({});
  EXPECT_EQ(Invoke(3), S_OK);
  TRecordedLaunch launch = StandIn->Wait();
  EXPECT_EQ(launch.CommandLine, StandIn->ExePath() + " /e ");
  EXPECT_EQ(launch.Arguments, Strings{"/e"});
}

TEST_F(LaunchTest, ProgramInAFolderWithABlankIsQuotedAndNoDecoyRuns) {
  // Split at its first blank, the path names the decoy "my.exe".
  Testing::TStandIn decoy(Folder, "my.exe");
  Install("my app\\main.exe");
  Select({"C:\\a.txt"});
  EXPECT_EQ(Invoke(3), S_OK);
  TRecordedLaunch launch = StandIn->Wait();
  ASSERT_TRUE(launch.Started);
  EXPECT_EQ(launch.Program, StandIn->ExePath());
  EXPECT_EQ(launch.CommandLine, '"' + StandIn->ExePath() + "\" /e \"C:\\a.txt\" ");
  EXPECT_EQ(launch.Arguments, (Strings{"/e", "C:\\a.txt"}));
}

TEST_F(LaunchTest, ProgramStoredInQuotesIsKeptAsStored) {
  Install("my app\\main.exe");
  std::string quoted = '"' + StandIn->ExePath() + '"';
  Options.SetString("ExeName", quoted);
  Select({"C:\\a.txt"});
  EXPECT_EQ(Invoke(0), S_OK);
  TRecordedLaunch launch = StandIn->Wait();
  ASSERT_TRUE(launch.Started);
  EXPECT_EQ(launch.CommandLine, quoted + " /h \"C:\\a.txt\" ");
  EXPECT_EQ(launch.Arguments, (Strings{"/h", "C:\\a.txt"}));
}

TEST_F(LaunchTest, RejectedInvocationsKeepTheSelection) {
  Install("main.exe");
  Select({"C:\\a.txt"});
  CMINVOKECOMMANDINFO verb = Invocation(0);
  verb.lpVerb = "open";
  EXPECT_EQ(InvokeCommand(&verb), E_FAIL);
  for (UINT_PTR offset : {2, 5, 10, 0xFFFF}) EXPECT_EQ(Invoke(offset), E_INVALIDARG) << offset;
  EXPECT_EQ(InvokeCommand(nullptr), E_INVALIDARG);
  ASSERT_NE(SelectedFiles(), nullptr);
  EXPECT_EQ(Invoke(9), S_OK);
  EXPECT_EQ(StandIn->Wait().Arguments, (Strings{"/es", "C:\\a.txt"}));
}

TEST_F(LaunchTest, SecondInvocationWithoutANewSelectionFails) {
  Install("main.exe");
  Select({"C:\\a.txt"});
  EXPECT_EQ(Invoke(6), S_OK);
  EXPECT_TRUE(StandIn->Wait().Started);
  EXPECT_EQ(Invoke(6), E_FAIL);
  EXPECT_FALSE(StandIn->Wait(300).Started);
}

TEST_F(LaunchTest, FailedStartShowsOneBoxOwnedByTheShellWindowAndSpendsTheSelection) {
  HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  for (const char* exeName : {"C:\\no\\such\\main.exe", ""}) {
    Install("unused.exe", exeName);
    Select({"C:\\a.txt"});
    EXPECT_EQ(Invoke(6, owner), S_OK) << exeName;
    EXPECT_EQ(SelectedFiles(), nullptr) << exeName;
  }
  ::DestroyWindow(owner);
  ASSERT_EQ(Boxes.Boxes().size(), 2u);
  for (const auto& box : Boxes.Boxes()) {
    EXPECT_EQ(box.Caption, "Error");
    EXPECT_EQ(box.Text, "Error executing Tarnwick");
    EXPECT_EQ(box.Owner, owner);
  }
}

TEST_F(LaunchTest, UnreadableProgramPathStartsNothingAndKeepsTheSelection) {
  Install("main.exe");
  Options.SetDword("ExeName", 1);
  Select({"C:\\a.txt"});
  EXPECT_EQ(Invoke(6), E_UNEXPECTED);
  EXPECT_FALSE(StandIn->Wait(300).Started);
  EXPECT_NE(SelectedFiles(), nullptr);
  ASSERT_EQ(Boxes.Boxes().size(), 1u);
  EXPECT_EQ(Boxes.Boxes()[0].Text, "Error executing Tarnwick");
}

TEST_F(LaunchTest, NoSelectionCapturedFails) {
  Install("main.exe");
  EXPECT_EQ(Invoke(0), E_FAIL);
  EXPECT_TRUE(Boxes.Boxes().empty());
}
