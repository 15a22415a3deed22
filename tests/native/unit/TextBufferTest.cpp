// Help texts cut into callers' buffers of every size: never past the buffer, never inside a double-byte
// character, and as much of the text as fits.
#include "shell/TextBuffer.h"
#include "support/FileNames.h"

#include <gtest/gtest.h>

#include <memory>

using namespace ContextM;
using namespace NativeTesting;

namespace {

// The lengths at which a text may be cut: after each whole character.
std::vector<std::size_t> CharacterEnds(std::string_view text, const Win32::TLeadBytes& leadBytes) {
  std::vector<std::size_t> ends{0};
  for (std::size_t i = 0; i < text.size();) {
    i += leadBytes[static_cast<unsigned char>(text[i])] && i + 1 < text.size() ? 2 : 1;
    ends.push_back(i);
  }
  return ends;
}

// Copies into a buffer of exactly bufferSize characters, so that a write past it is a sanitizer failure,
// and checks the copy against the text.
void CheckCut(std::string_view text, std::size_t bufferSize, const Win32::TLeadBytes& leadBytes) {
  SCOPED_TRACE(testing::Message() << "size " << bufferSize << " of text " << testing::PrintToString(std::string(text)));
  auto buffer = std::make_unique<char[]>(bufferSize);
  ASSERT_TRUE(CopyCut(text, buffer.get(), bufferSize, leadBytes));
  std::string_view copied(buffer.get(), std::char_traits<char>::length(buffer.get()));
  ASSERT_LT(copied.size(), bufferSize);
  ASSERT_TRUE(text.starts_with(copied));
  std::vector<std::size_t> ends = CharacterEnds(text, leadBytes);
  auto end = std::find(ends.begin(), ends.end(), copied.size());
  ASSERT_NE(end, ends.end()) << "cut inside a character";
  bool whole = copied.size() == text.size();
  EXPECT_TRUE(whole || *std::next(end) > bufferSize - 1) << "the next character would have fitted";
}

void CheckEverySize(std::string_view text, const Win32::TLeadBytes& leadBytes) {
  for (std::size_t size = 1; size <= text.size() + 3; ++size) CheckCut(text, size, leadBytes);
}

const std::string ShiftJisText = "Hide \x95\\\x8E\xA6 in \x83\\\x83t\x83@\x83\x43\x83\x8B: C:\\\x95\\\\";

}  // namespace

TEST(TextBufferTest, NoRoomEvenForTheNulWritesNothing) {
  char sentinel = 'x';
  EXPECT_FALSE(CopyCut("Encrypt the selected file(s)", &sentinel, 0, Win32::TLeadBytes{}));
  EXPECT_EQ(sentinel, 'x');
}

TEST(TextBufferTest, EverySizeInASingleByteCodePageCutsAtTheBufferEnd) {
  const std::string text = "Hide data in selected carrier: C:\\\x95\\\xE9t\xE9.bmp";
  CheckEverySize(text, Win32::TLeadBytes{});
  char two[2];
  ASSERT_TRUE(CopyCut(text, two, sizeof two, Win32::TLeadBytes{}));
  EXPECT_STREQ(two, "H");
}

TEST(TextBufferTest, EverySizeInADoubleByteCodePageCutsBetweenCharacters) {
  CheckEverySize(ShiftJisText, ShiftJis().LeadBytes);
  // Room for "Hide " and one byte: the double-byte character after it does not fit and is left out whole.
  char seven[7];
  ASSERT_TRUE(CopyCut(ShiftJisText, seven, sizeof seven, ShiftJis().LeadBytes));
  EXPECT_STREQ(seven, "Hide ");
}

TEST(TextBufferTest, ATextEndingInALoneLeadByteIsCopiedOrCutBeforeIt) {
  CheckEverySize("ab\x95", ShiftJis().LeadBytes);
  CheckEverySize("\x95", ShiftJis().LeadBytes);
}

TEST(TextBufferTest, RandomTextsInEveryCodePage) {
  TRandomChoices choices(3);
  for (const TCodePage& codePage : CodePages())
    for (int i = 0; i < 300; ++i) CheckEverySize(FilePath(choices, codePage), codePage.LeadBytes);
}
