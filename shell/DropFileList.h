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

// Hands each name's bytes, without its NUL, to visit, in order, in one pass and without copying. False when no
// empty name ends the list inside the block; the names visited until then belong to no valid list, and the
// caller discards them. Names are found through memcpy, never a cast pointer: a list at an odd offset must
// not be read misaligned.
template <class Visitor>
bool VisitDropFileNames(const TDropFileList& list, Visitor&& visit) {
  auto scan = [&](auto unit) {
    using Char = decltype(unit);
    std::size_t characters = list.Names.size() / sizeof(Char);
    std::size_t start = 0;
    for (std::size_t i = 0; i < characters; ++i) {
      Char c;
      std::memcpy(&c, list.Names.data() + i * sizeof(Char), sizeof c);
      if (c != Char{}) continue;
      if (i == start) return true;  // the empty name that ends the list
      visit(list.Names.subspan(start * sizeof(Char), (i - start) * sizeof(Char)));
      start = i + 1;
    }
    return false;
  };
  return list.Wide ? scan(char16_t{}) : scan(char{});
}

}  // namespace ContextM
