// For any names a Windows file system allows, the program reads back exactly its path, the switch and the names.
#include "shell/CommandLine.h"
#include "support/CrtArgv.h"
#include "support/FileNames.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace ContextM;
using namespace NativeTesting;
using Args = std::vector<std::string>;

namespace {

constexpr int Draws = 20000;

struct TDraw {
  TProgram Program;
  std::string Switch;
  std::vector<std::string> Paths;
};

TDraw Draw(TChoices& choices, const TCodePage& codePage) {
  TDraw draw{Program(choices, codePage), choices.Among(TableSwitches), {}};
  std::size_t count = choices.Below(7);
  for (std::size_t i = 0; i < count; ++i) draw.Paths.push_back(FilePath(choices, codePage));
  return draw;
}

Args Expected(const TDraw& draw) {
  Args args{draw.Program.Path, draw.Switch.substr(1, draw.Switch.size() - 2)};
  args.insert(args.end(), draw.Paths.begin(), draw.Paths.end());
  return args;
}

using TBuilder = std::function<std::string(const TDraw&, const Win32::TLeadBytes&)>;

std::string Built(const TDraw& draw, const Win32::TLeadBytes& leadBytes) {
  return BuildCommandLine(draw.Program.Stored, draw.Switch, draw.Paths, leadBytes);
}

// The first draw whose line does not read back, or none.
std::optional<std::string> FirstMismatch(const TCodePage& codePage, const TBuilder& build) {
  TRandomChoices choices(0x7a2c0de + codePage.LeadBytes.count());
  for (int i = 0; i < Draws; ++i) {
    TDraw draw = Draw(choices, codePage);
    std::string line = build(draw, codePage.LeadBytes);
    if (SplitCommandLine(line, codePage.LeadBytes) != Expected(draw)) return line;
  }
  return std::nullopt;
}

}  // namespace

class CommandLinePropertyTest : public ::testing::TestWithParam<TCodePage> {};

TEST_P(CommandLinePropertyTest, EveryLineReadsBackAsProgramSwitchAndNames) {
  std::optional<std::string> mismatch = FirstMismatch(GetParam(), Built);
  EXPECT_FALSE(mismatch) << "line: " << testing::PrintToString(*mismatch);
}

TEST_P(CommandLinePropertyTest, TheProgramIsStartedFromThePathInsideItsQuotes) {
  TRandomChoices choices(7);
  for (int i = 0; i < Draws / 10; ++i) {
    TProgram program = Program(choices, GetParam());
    ASSERT_EQ(ProgramPath(program.Stored), program.Path);
  }
}

INSTANTIATE_TEST_SUITE_P(CodePages, CommandLinePropertyTest, ::testing::ValuesIn(CodePages()),
                         [](const auto& info) { return "cp" + std::string(info.param.Name); });

// The property is only worth its draws if they reach the names that break quoting, and if it fails a builder
// that gets those names wrong.
TEST(CommandLinePropertyDrawsTest, DrawsReachTheNamesThatBreakQuoting) {
  std::map<std::string, int> seen;
  TRandomChoices choices(11);
  const TCodePage& shiftJis = ShiftJis();
  for (int i = 0; i < Draws; ++i) {
    std::string path = FilePath(choices, shiftJis);
    std::size_t trailing = path.size() - path.find_last_not_of('\\') - 1;
    if (path.size() == 3 && path.substr(1) == ":\\") ++seen["drive root"];
    if (path.starts_with("\\\\") && !path.starts_with("\\\\?")) ++seen["UNC path"];
    if (trailing >= 2) ++seen["two or more trailing backslashes"];
    if (path.ends_with(' ') || path.ends_with('.')) ++seen["ending in a blank or a dot"];
    if (path.find(' ') != std::string::npos) ++seen["blank inside"];
    if (path.size() > 2 && static_cast<unsigned char>(path[path.size() - 2]) >= 0x81 && path.back() == '\\')
      ++seen["ending in a byte pair whose second byte is 0x5C"];
    TProgram program = Program(choices, shiftJis);
    if (program.Stored.front() == '"')
      ++seen["program stored in quotes"];
    else if (program.Path.find(' ') != std::string::npos)
      ++seen["program with a blank, unquoted"];
  }
  for (const char* kind : {"drive root", "UNC path", "two or more trailing backslashes", "ending in a blank or a dot",
                           "blank inside", "ending in a byte pair whose second byte is 0x5C",
                           "program stored in quotes", "program with a blank, unquoted"})
    EXPECT_GT(seen[kind], 10) << kind;
}

TEST(CommandLinePropertyDrawsTest, BuildersThatMishandleBackslashesOrBlanksAreCaught) {
  // Trailing backslashes counted by bytes: a trail byte 0x5C is doubled too.
  auto byBytes = [](const TDraw& draw, const Win32::TLeadBytes&) { return Built(draw, Win32::TLeadBytes{}); };
  // Trailing backslashes not doubled at all.
  auto undoubled = [](const TDraw& draw, const Win32::TLeadBytes&) {
    std::string line = draw.Program.Stored + draw.Switch;
    for (const std::string& path : draw.Paths) line += '"' + path + "\" ";
    return line;
  };
  // The program left unquoted.
  auto bareProgram = [](const TDraw& draw, const Win32::TLeadBytes& leadBytes) {
    std::string line = ProgramPath(draw.Program.Stored) + draw.Switch;
    for (const std::string& path : draw.Paths) line += QuotedPath(path, leadBytes);
    return line;
  };
  EXPECT_TRUE(FirstMismatch(ShiftJis(), byBytes));
  EXPECT_FALSE(FirstMismatch(SingleByteCodePage(), byBytes));
  EXPECT_TRUE(FirstMismatch(SingleByteCodePage(), undoubled));
  EXPECT_TRUE(FirstMismatch(SingleByteCodePage(), bareProgram));
}
