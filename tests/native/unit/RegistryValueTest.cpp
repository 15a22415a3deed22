// Option values read by their type: text types give the text up to the first NUL, other types none.
#include "shell/RegistryValue.h"
#include "support/DropFilesBlock.h"

#include <gtest/gtest.h>

using namespace ContextM;

namespace {

std::optional<std::string> Value(std::uint32_t type, std::string_view bytes) {
  NativeTesting::TExactBytes exact(std::as_bytes(std::span(bytes.data(), bytes.size())));
  return StringValue(type, exact.Span());
}

constexpr std::uint32_t None = 0, Binary = 3, Dword = 4, DwordBigEndian = 5, Link = 6, MultiString = 7, Qword = 11;

}  // namespace

TEST(RegistryValueTest, TextTypesGiveTheTextUpToTheFirstNul) {
  struct TCase {
    std::string_view Bytes;
    std::string Expected;
  };
  const TCase cases[] = {
      {{"C:\\T\\t.exe\0", 11}, "C:\\T\\t.exe"},
      {"C:\\T\\t.exe", "C:\\T\\t.exe"},  // stored without its terminator
      {{"1\0garbage\0", 10}, "1"},       // an embedded NUL hides the rest
      {{"\0", 1}, ""},
      {"", ""},
      {{"\xE9t\xE9\x95\\\0", 6}, "\xE9t\xE9\x95\\"},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(Value(RegistryString, c.Bytes), c.Expected) << testing::PrintToString(std::string(c.Bytes));
    EXPECT_EQ(Value(RegistryExpandString, c.Bytes), c.Expected) << testing::PrintToString(std::string(c.Bytes));
  }
  EXPECT_EQ(Value(RegistryExpandString, {"%APPDATA%\\T\0", 12}), "%APPDATA%\\T");
}

TEST(RegistryValueTest, OtherTypesHaveNoText) {
  for (std::uint32_t type : {None, Binary, Dword, DwordBigEndian, Link, MultiString, Qword, 0xFFFFFFFFu})
    EXPECT_FALSE(Value(type, {"1\0", 2})) << type;
}
