// Header fields other than the offset and the wide flag are filled, and a gap is filled with non-zero bytes,
// so a reader that leans on zeros it was never promised shows up.
#include "tools/DropFilesBlock.h"

#include <cstdint>

namespace Tools {

namespace {

constexpr std::byte Filler{0xCC};

void PutField(std::vector<std::byte>& block, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) block[offset + i] = static_cast<std::byte>(value >> (8 * i));
}

std::vector<std::byte> Header(const TBlockLayout& layout, bool wide) {
  std::vector<std::byte> block(layout.ListOffset, Filler);
  PutField(block, 0, static_cast<std::uint32_t>(layout.ListOffset));
  PutField(block, 4, 17);  // the drop point
  PutField(block, 8, 42);
  PutField(block, 12, 1);  // in the non-client area
  PutField(block, 16, wide ? 1 : 0);
  return block;
}

template <class Char>
void PutCharacter(std::vector<std::byte>& block, Char c) {
  for (std::size_t i = 0; i < sizeof(Char); ++i)
    block.push_back(static_cast<std::byte>(static_cast<std::uint32_t>(c) >> (8 * i)));
}

template <class Char>
std::vector<std::byte> Block(const std::vector<std::basic_string<Char>>& names, const TBlockLayout& layout) {
  std::vector<std::byte> block = Header(layout, sizeof(Char) > 1);
  for (const auto& name : names) {
    for (Char c : name) PutCharacter(block, c);
    PutCharacter(block, Char{});
  }
  PutCharacter(block, Char{});
  block.insert(block.end(), layout.AfterList.begin(), layout.AfterList.end());
  return block;
}

}  // namespace

std::vector<std::byte> DropFilesBlock(const std::vector<std::string>& names, const TBlockLayout& layout) {
  return Block(names, layout);
}

std::vector<std::byte> DropFilesBlock(const std::vector<std::u16string>& names, const TBlockLayout& layout) {
  return Block(names, layout);
}

}  // namespace Tools
