// Dropped-file lists read from exactly their bytes: well-formed ones as laid out by any sender, malformed ones
// refused, and no byte read outside the block (the copies end where their allocation ends).
#include "support/DropFileNames.h"
#include "support/DropFilesBlock.h"

#include <gtest/gtest.h>

using namespace ContextM;
using namespace NativeTesting;

namespace {

std::optional<TDropFileNames> Read(const std::vector<std::byte>& block, bool oddAddress = false) {
  TExactBytes exact(block, oddAddress);
  return ReadDropFileNames(exact.Span());
}

void PutOffset(std::vector<std::byte>& block, std::uint32_t offset) {
  for (std::size_t i = 0; i < 4; ++i) block[i] = static_cast<std::byte>(offset >> (8 * i));
}

const std::vector<std::string> AnsiNames{R"(C:\)", R"(C:\Program Files\a b.txt)", "x", "C:\\\xE9t\xE9\\\x95\\",
                                         std::string(300, 'n')};
const std::vector<std::u16string> WideNames{u"C:\\", u"D:\\\u8868\\\uFF3C.txt", u"\xD83D\xDE00", u"\xDC00lone",
                                            std::u16string(300, u'n')};

}  // namespace

TEST(DropFileListTest, NamesComeBackInOrderWhateverTheLayout) {
  const TBlockLayout layouts[] = {{}, {21, {}}, {27, {std::byte{'z'}, std::byte{0}, std::byte{'q'}}}, {64, {}}};
  for (const TBlockLayout& layout : layouts) {
    for (bool odd : {false, true}) {
      std::optional<TDropFileNames> ansi = Read(DropFilesBlock(AnsiNames, layout), odd);
      ASSERT_TRUE(ansi) << layout.ListOffset;
      EXPECT_FALSE(ansi->Wide);
      EXPECT_EQ(ansi->Ansi, AnsiNames);

      std::optional<TDropFileNames> wide = Read(DropFilesBlock(WideNames, layout), odd);
      ASSERT_TRUE(wide) << layout.ListOffset;
      EXPECT_TRUE(wide->Wide);
      EXPECT_EQ(wide->Unicode, WideNames);
      EXPECT_TRUE(wide->Ansi.empty());
    }
  }
}

TEST(DropFileListTest, AnyNonZeroWideFlagMeansWideNames) {
  std::vector<std::byte> block = DropFilesBlock(WideNames);
  for (std::uint8_t flagByte : {0, 1, 2, 3}) {
    std::fill(block.begin() + 16, block.begin() + 20, std::byte{0});
    block[16 + flagByte] = std::byte{0x80};
    std::optional<TDropFileNames> names = Read(block);
    ASSERT_TRUE(names);
    EXPECT_TRUE(names->Wide);
    EXPECT_EQ(names->Count(), WideNames.size());
  }
}

TEST(DropFileListTest, AnEmptyListHasNoNames) {
  for (std::optional<TDropFileNames> names :
       {Read(DropFilesBlock(std::vector<std::string>{})), Read(DropFilesBlock(std::vector<std::u16string>{}))}) {
    ASSERT_TRUE(names);
    EXPECT_EQ(names->Count(), 0u);
  }
}

TEST(DropFileListTest, BlocksShorterThanTheHeaderAreRefused) {
  std::vector<std::byte> block = DropFilesBlock(AnsiNames);
  for (std::size_t size = 0; size < DropFilesHeaderSize; ++size)
    EXPECT_FALSE(Read({block.begin(), block.begin() + static_cast<std::ptrdiff_t>(size)})) << size;
}

TEST(DropFileListTest, AListThatStartsInsideTheHeaderOrPastTheBlockIsRefused) {
  std::vector<std::byte> block = DropFilesBlock(AnsiNames);
  for (std::uint32_t offset : {0u, 1u, 19u, static_cast<std::uint32_t>(block.size()),
                               static_cast<std::uint32_t>(block.size() + 1), 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    PutOffset(block, offset);
    EXPECT_FALSE(Read(block)) << offset;
  }
}

// Every cut of a block before its terminating empty name: the reader must stop at the cut, and refuse.
TEST(DropFileListTest, EveryTruncationBeforeTheEndingEmptyNameIsRefused) {
  for (bool wide : {false, true}) {
    std::vector<std::byte> block = wide ? DropFilesBlock(WideNames, {21, {}}) : DropFilesBlock(AnsiNames, {21, {}});
    for (std::size_t size = DropFilesHeaderSize; size < block.size(); ++size)
      EXPECT_FALSE(Read({block.begin(), block.begin() + static_cast<std::ptrdiff_t>(size)}, size % 2 == 0))
          << (wide ? "wide, " : "ansi, ") << size << " of " << block.size();
    EXPECT_TRUE(Read(block));
  }
}

TEST(DropFileListTest, NamesWithoutTheEndingEmptyNameAreRefused) {
  std::vector<std::byte> block = DropFilesBlock(std::vector<std::string>{"a", "b"});
  block.pop_back();  // "a\0b\0" and no empty name
  EXPECT_FALSE(Read(block));
  block.back() = std::byte{'c'};  // "a\0bc": the last name is not even ended
  EXPECT_FALSE(Read(block));

  // A wide NUL needs both its bytes: a lone zero byte after the last name's terminator ends nothing.
  std::vector<std::byte> wide = DropFilesBlock(std::vector<std::u16string>{u"a"});
  wide.pop_back();
  EXPECT_FALSE(Read(wide));
  // A zero low byte is not a NUL: U+0100 is a character.
  std::vector<std::byte> highOnly = DropFilesBlock(std::vector<std::u16string>{u"\u0100\u0100"});
  highOnly.resize(highOnly.size() - 4);
  EXPECT_FALSE(Read(highOnly));
}

TEST(DropFileListTest, ManyNamesAreAllRead) {
  std::vector<std::u16string> names;
  for (int i = 0; i < 20000; ++i)
    names.push_back(u"C:\\f\\" + std::u16string(1 + i % 40, static_cast<char16_t>(u'a' + i % 26)));
  std::optional<TDropFileNames> read = Read(DropFilesBlock(names, {23, {}}));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->Unicode, names);
}

// The reader looks for the NUL eight bytes at a time: a name of any length ends at its NUL wherever that falls in
// a word, and units with a zero byte, or bytes just above zero, are characters like any other.
TEST(DropFileListTest, NamesOfEveryLengthEndAtTheirNulWhateverTheirUnits) {
  std::vector<std::string> ansi;
  std::vector<std::u16string> wide;
  for (std::size_t length = 1; length <= 17; ++length) {
    ansi.push_back(std::string(length, '\x01') + "\x80");
    wide.push_back(std::u16string(length, u'\u0100') + u"\u4E00\u0001\u8000");
  }
  for (bool odd : {false, true}) {
    EXPECT_EQ(Read(DropFilesBlock(ansi), odd)->Ansi, ansi);
    EXPECT_EQ(Read(DropFilesBlock(wide), odd)->Unicode, wide);
  }
}
