// The one character walk: a trail byte is never read on its own, and a lead byte at the end stands alone.
#include "win32/LeadBytes.h"
#include "support/FileNames.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::size_t> Starts(std::string_view text, const Win32::TLeadBytes& leadBytes) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.size(); i += Win32::CharacterLength(text, i, leadBytes)) starts.push_back(i);
  return starts;
}

}  // namespace

TEST(LeadBytesTest, CharactersStartWhereTheCodePageSays) {
  const Win32::TLeadBytes& shiftJis = NativeTesting::ShiftJis().LeadBytes;
  // 0x95 0x5C is one character whose trail byte is a backslash; the final 0x95 has no trail byte.
  std::string_view text("a\x95\\\\\x95", 5);
  EXPECT_EQ(Starts(text, shiftJis), (std::vector<std::size_t>{0, 1, 3, 4}));
  EXPECT_EQ(Starts(text, Win32::TLeadBytes{}), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
}
