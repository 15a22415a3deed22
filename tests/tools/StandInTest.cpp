// The stand-in main application, run as a program.
#include "ToolRun.h"
#include "support/Platform.h"

#include <gtest/gtest.h>

using Strings = std::vector<std::string>;

namespace {

std::string StandIn() { return Testing::Quoted(Testing::BuildFolder() / "tools" / "standin.exe"); }

}  // namespace

TEST(StandInTest, NamesTheOperationOfItsSwitchAndWhetherEachPathExists) {
  Testing::TTempFolder folder("tarnctx-standin");
  std::string present = folder.File("letter.txt"), missing = (folder.Path() / "gone.txt").string();
  std::string line = StandIn() + " /uh \"" + present + "\" \"" + missing + "\" \"" + folder.Path().string() + "\" ";
  Testing::TToolRun run = Testing::RunTool(line);
  EXPECT_EQ(run.ExitCode, 0u);
  EXPECT_EQ(run.OutLines(), (Strings{
                                "The main application (stand-in) was started:",
                                "  command line  [" + line + "]",
                                "  operation     /uh  Unhide here...",
                                "  path          " + present + "  (exists)",
                                "  path          " + missing + "  (missing)",
                                "  path          " + folder.Path().string() + "  (folder, exists)",
                            }));
}

TEST(StandInTest, SaysSoForASwitchThatNamesNoOperation) {
  for (const char* commandSwitch : {"/x", "/E", ""}) {
    Testing::TToolRun run = Testing::RunTool(StandIn() + " " + commandSwitch);
    EXPECT_EQ(run.ExitCode, 2u) << commandSwitch;
    ASSERT_GE(run.OutLines().size(), 3u);
    EXPECT_EQ(run.OutLines()[2], "  operation     " + std::string(commandSwitch) + " (not one of Tarnwick's switches)");
  }
}
