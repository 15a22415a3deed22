// The tests' model of the C runtime's argv rules, held to Microsoft's documented examples: the command-line
// property is only as good as this reading of the line.
#include "support/CrtArgv.h"
#include "support/FileNames.h"

#include <gtest/gtest.h>

using NativeTesting::SplitCommandLine;
using Args = std::vector<std::string>;

namespace {

const Win32::TLeadBytes NoLeadBytes;

Args Split(std::string_view line) { return SplitCommandLine(line, NoLeadBytes); }
Args SplitShiftJis(std::string_view line) { return SplitCommandLine(line, NativeTesting::ShiftJis().LeadBytes); }

}  // namespace

TEST(CrtArgvTest, DocumentedArgumentExamples) {
  struct TCase {
    std::string_view Line;
    Args Expected;
  };
  const TCase cases[] = {
      {R"(p "abc" d e)", {"p", "abc", "d", "e"}},      {R"(p a\\b d"e f"g h)", {"p", R"(a\\b)", "de fg", "h"}},
      {R"(p a\\\"b c d)", {"p", R"(a\"b)", "c", "d"}}, {R"(p a\\\\"b c" d e)", {"p", R"(a\\b c)", "d", "e"}},
      {R"(p a"b"" c d)", {"p", R"(ab" c d)"}},
  };
  for (const TCase& c : cases) EXPECT_EQ(Split(c.Line), c.Expected) << c.Line;
}

TEST(CrtArgvTest, BackslashesBeforeAQuoteHalveAndTheirCountDecidesTheQuote) {
  EXPECT_EQ(Split(R"(p "C:\dir\\" next)"), (Args{"p", R"(C:\dir\)", "next"}));
  EXPECT_EQ(Split(R"(p "C:\dir\" next)"), (Args{"p", R"(C:\dir" next)"}));
  EXPECT_EQ(Split(R"(p "\\\\server\share\\\\" x)"), (Args{"p", R"(\\\\server\share\\)", "x"}));
  EXPECT_EQ(Split(R"(p C:\a\b\)"), (Args{"p", R"(C:\a\b\)"}));
}

TEST(CrtArgvTest, BlanksTabsEmptyArgumentsAndAnOpenQuote) {
  EXPECT_EQ(Split("p \t a\t\tb  "), (Args{"p", "a", "b"}));
  EXPECT_EQ(Split(R"(p "" "")"), (Args{"p", "", ""}));
  EXPECT_EQ(Split(R"(p "a b)"), (Args{"p", "a b"}));
  EXPECT_EQ(Split("p"), (Args{"p"}));
  EXPECT_EQ(Split(std::string_view("p a\0b", 5)), (Args{"p", "a"}));
}

TEST(CrtArgvTest, ProgramNameQuotesOnlyGroupAndBackslashesArePlain) {
  EXPECT_EQ(Split(R"("C:\Program Files\t.exe" /e)"), (Args{R"(C:\Program Files\t.exe)", "/e"}));
  EXPECT_EQ(Split(R"(C:\a"b c"\t.exe /e)"), (Args{R"(C:\ab c\t.exe)", "/e"}));
  EXPECT_EQ(Split(R"("C:\dir\"t.exe /e)"), (Args{R"(C:\dir\t.exe)", "/e"}));
  EXPECT_EQ(Split(R"(C:\dir\\ /e)"), (Args{R"(C:\dir\\)", "/e"}));
  EXPECT_EQ(Split(" /e"), (Args{"", "/e"}));
}

// In a double-byte code page the runtime copies a lead byte with the byte after it: 0x95 0x5C is one character
// in Shift-JIS, and its trail byte escapes nothing.
TEST(CrtArgvTest, TrailByteThatEqualsABackslashIsNotOneInADoubleByteCodePage) {
  const std::string line = "p \"C:\\\x95\\\" next";
  EXPECT_EQ(SplitShiftJis(line), (Args{"p", "C:\\\x95\\", "next"}));
  EXPECT_EQ(Split(line), (Args{"p", "C:\\\x95\" next"}));
}

TEST(CrtArgvTest, LeadByteTakesAQuoteOrBlankAfterItAlong) {
  EXPECT_EQ(SplitShiftJis("p \"a\x81\" b"), (Args{"p", "a\x81\" b"}));
  EXPECT_EQ(SplitShiftJis("p a\x81 b"), (Args{"p", "a\x81 b"}));
  EXPECT_EQ(SplitShiftJis("C:\\\x81 t.exe /e"), (Args{"C:\\\x81 t.exe", "/e"}));
  EXPECT_EQ(SplitShiftJis("p a\x81"), (Args{"p", "a\x81"}));
}
