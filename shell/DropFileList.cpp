// The dropped-file list's layout: names back to back, each ended by a NUL, the list by an empty name.
#include "DropFileList.h"

#include <cstring>

namespace ContextM {

namespace {

constexpr std::size_t ListOffsetField = 0;
constexpr std::size_t WideFlagField = 16;

std::uint32_t ReadField(std::span<const std::byte> block, std::size_t offset) {
  std::uint32_t value;
  std::memcpy(&value, block.data() + offset, sizeof value);  // little-endian, as on every Windows machine
  return value;
}

}  // namespace

std::optional<TDropFileList> LocateDropFileList(std::span<const std::byte> block) {
  if (block.size() < DropFilesHeaderSize) return std::nullopt;
  std::uint32_t listOffset = ReadField(block, ListOffsetField);
  if (listOffset < DropFilesHeaderSize || listOffset >= block.size()) return std::nullopt;
  return TDropFileList{ReadField(block, WideFlagField) != 0, block.subspan(listOffset)};
}

}  // namespace ContextM
