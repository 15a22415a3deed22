// Reads the names of a dropped-file list (a DROPFILES block) straight from its bytes, in one pass.
// Free of the platform: the block is plain bytes, so the reader can be checked and fuzzed anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

namespace ContextM {

// The header's layout: the list's offset, a point, and two flags, each 32 bits.
inline constexpr std::size_t DropFilesHeaderSize = 20;

// The part of a block that holds the names, and whether they are UTF-16.
struct TDropFileList {
  bool Wide = false;
  std::span<const std::byte> Names;
};

// None for a block shorter than its header, or a list that starts inside the header or past the end.
std::optional<TDropFileList> LocateDropFileList(std::span<const std::byte> block);

// The index of the first NUL unit from `from` on, or `count` when there is none. Eight bytes at a time: this
// runs over every character of every selected name. The word test only says whether some unit of the word is
// zero; the units are then looked at one by one.
template <class Char>
std::size_t NextNul(const std::byte* units, std::size_t from, std::size_t count) {
  constexpr std::size_t perWord = sizeof(std::uint64_t) / sizeof(Char);
  constexpr std::uint64_t ones = sizeof(Char) == 1 ? 0x0101010101010101 : 0x0001000100010001;
  constexpr std::uint64_t highs = ones << (8 * sizeof(Char) - 1);
  std::size_t i = from;
  for (; i + perWord <= count; i += perWord) {
    std::uint64_t word;
    std::memcpy(&word, units + i * sizeof(Char), sizeof word);
    if ((word - ones) & ~word & highs) break;
  }
  for (; i < count; ++i) {
    Char c;
    std::memcpy(&c, units + i * sizeof(Char), sizeof c);
    if (c == Char{}) return i;
  }
  return count;
}

// Hands each name's bytes, without its NUL, to visit, in order, in one pass and without copying. False when no
// empty name ends the list inside the block; the names visited until then belong to no valid list, and the
// caller discards them. Names are found through memcpy, never a cast pointer: a list at an odd offset must
// not be read misaligned.
template <class Visitor>
bool VisitDropFileNames(const TDropFileList& list, Visitor&& visit) {
  auto scan = [&](auto unit) {
    using Char = decltype(unit);
    std::size_t characters = list.Names.size() / sizeof(Char);
    for (std::size_t start = 0;;) {
      std::size_t end = NextNul<Char>(list.Names.data(), start, characters);
      if (end == characters) return false;
      if (end == start) return true;  // the empty name that ends the list
      visit(list.Names.subspan(start * sizeof(Char), (end - start) * sizeof(Char)));
      start = end + 1;
    }
  };
  return list.Wide ? scan(char16_t{}) : scan(char{});
}

}  // namespace ContextM
