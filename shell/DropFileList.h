// Reads the names of a dropped-file list (a DROPFILES block) straight from its bytes, in one pass.
// Free of the platform: the block is plain bytes, so the reader can be checked and fuzzed anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ContextM {

// The names of one block, in the block's order: single-byte names as stored, or UTF-16 ones.
struct TDropFileNames {
  bool Wide = false;
  std::vector<std::string> Ansi;
  std::vector<std::u16string> Unicode;

  std::size_t Count() const { return Wide ? Unicode.size() : Ansi.size(); }
};

// The header's layout: the list's offset, a point, and two flags, each 32 bits.
inline constexpr std::size_t DropFilesHeaderSize = 20;

// None for a malformed block: shorter than its header, a list that starts inside the header or past the end,
// or a list without its terminating empty name inside the block. Nothing past the block is ever read.
std::optional<TDropFileNames> ReadDropFileNames(std::span<const std::byte> block);

}  // namespace ContextM
