// The command line for names that are hard to quote, read back as the started program reads it.
#include "shell/CommandLine.h"
#include "shell/NameList.h"
#include "support/CrtArgv.h"
#include "support/FileNames.h"

#include <gtest/gtest.h>

using namespace ContextM;
using NativeTesting::SplitCommandLine;
using Args = std::vector<std::string>;

namespace {

const Win32::TLeadBytes NoLeadBytes;
const Win32::TLeadBytes& ShiftJisLeadBytes() { return NativeTesting::ShiftJis().LeadBytes; }

Args ReadBack(std::string_view exeName, const std::vector<std::string>& paths, const Win32::TLeadBytes& leadBytes) {
  return SplitCommandLine(BuildCommandLine(exeName, " /e ", paths, leadBytes), leadBytes);
}

Args Expected(std::string_view program, const std::vector<std::string>& paths) {
  Args args{std::string(program), "/e"};
  args.insert(args.end(), paths.begin(), paths.end());
  return args;
}

// A name between the switch and another path comes back unchanged.
void ExpectReadsBack(const std::string& name, const Win32::TLeadBytes& leadBytes) {
  EXPECT_EQ(ReadBack("p", {name, "after"}, leadBytes), Expected("p", {name, "after"})) << testing::PrintToString(name);
}

}  // namespace

TEST(CommandLineTest, TheLineIsTheProgramTheSwitchAndEachPathQuotedWithABlank) {
  EXPECT_EQ(
      BuildCommandLine(R"(C:\Program Files\Tarnwick\tarnwick.exe)", " /e ", {R"(C:\a.txt)", R"(D:\b c)"}, NoLeadBytes),
      R"("C:\Program Files\Tarnwick\tarnwick.exe" /e "C:\a.txt" "D:\b c" )");
  EXPECT_EQ(BuildCommandLine(R"(C:\T\t.exe)", " /uh ", {}, NoLeadBytes), R"(C:\T\t.exe /uh )");
}

TEST(CommandLineTest, AProgramStoredInQuotesIsNotQuotedAgainAndStartsWithoutThem) {
  const std::string stored = R"("C:\Program Files\t.exe")";
  EXPECT_EQ(BuildCommandLine(stored, " /s ", {}, NoLeadBytes), stored + " /s ");
  EXPECT_EQ(ProgramPath(stored), R"(C:\Program Files\t.exe)");
  EXPECT_EQ(ProgramPath(R"(C:\T\t.exe)"), R"(C:\T\t.exe)");
  EXPECT_EQ(ProgramPath(R"("")"), "");
  EXPECT_EQ(ProgramPath(R"(")"), R"(")");
}

TEST(CommandLineTest, TrickyNamesReachTheProgramUnchanged) {
  const std::vector<std::string> names{
      R"(C:\)",
      R"(c:\Windows\)",
      R"(C:\a\\\)",
      R"(\\server\share\)",
      R"(\\?\C:\long\name)",
      R"(C:relative)",
      R"(..\up)",
      "trailing blank ",
      "trailing dots...",
      "dots and blank. ",
      " leading blank",
      R"(C:\a b\c  d\)",
      R"(C:\&^%!;,=@'`~()[]{})",
      "C:\\\xE9t\xE9\\\xFF",
      R"(C:\x\\y)",
      ".",
  };
  for (const std::string& name : names)
    EXPECT_EQ(ReadBack(R"(C:\T\t.exe)", {name, "after"}, NoLeadBytes), Expected(R"(C:\T\t.exe)", {name, "after"}))
        << testing::PrintToString(name);
  EXPECT_EQ(ReadBack(R"(C:\Program Files\t.exe)", names, NoLeadBytes), Expected(R"(C:\Program Files\t.exe)", names));
}

// 0x95 0x5C and 0x83 0x5C are Shift-JIS characters whose trail byte is a backslash: only the real backslash
// after them is doubled. In a single-byte code page the same bytes end in two backslashes, both doubled.
TEST(CommandLineTest, OnlyRealTrailingBackslashesAreDoubledInADoubleByteCodePage) {
  const std::string name = "C:\\\x95\\";
  EXPECT_EQ(BuildCommandLine("p", " /e ", {name}, ShiftJisLeadBytes()), "p /e \"C:\\\x95\\\" ");
  EXPECT_EQ(BuildCommandLine("p", " /e ", {name}, NoLeadBytes), "p /e \"C:\\\x95\\\\\" ");

  const std::vector<std::string> names{"C:\\\x95\\", "C:\\\x95\\\\", "C:\\\x83\\\x83\\\\\\",
                                       "\x95\\",     "C:\\\x81|\\",  "C:\\\x95\\ \x95\\"};
  for (const std::string& n : names) {
    ExpectReadsBack(n, ShiftJisLeadBytes());
    ExpectReadsBack(n, NoLeadBytes);
  }
}

// Bytes pair up from the name's first byte on: after 0x95 0x95 a 0x5C is a real backslash, after three 0x95 a
// trail byte.
TEST(CommandLineTest, ALeadByteThatIsATrailByteDoesNotShiftTheWalk) {
  const std::vector<std::string> names{"C:\\\x95\x95\\", "\x95\x95\x95\\", "\xE0\x81\x81\\\\"};
  for (const std::string& n : names) ExpectReadsBack(n, ShiftJisLeadBytes());
}

TEST(CommandLineTest, PathsOfANameListAreQuotedInTheirOrder) {
  TNameList<char> list;
  for (const char* path : {R"(C:\a b\)", "", R"(D:\x.twk)"}) list.Append(path);
  EXPECT_EQ(BuildCommandLine("p q.exe", " /e ", list, NoLeadBytes), R"("p q.exe" /e "C:\a b\\" "" "D:\x.twk" )");
}
