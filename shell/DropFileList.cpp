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

std::optional<TDropFileNames> ReadDropFileNames(std::span<const std::byte> block) {
  std::optional<TDropFileList> list = LocateDropFileList(block);
  if (!list) return std::nullopt;
  TDropFileNames names;
  names.Wide = list->Wide;
  bool terminated = VisitDropFileNames(*list, [&](std::span<const std::byte> name) {
    if (names.Wide) {
      std::memcpy(names.Unicode.emplace_back(name.size() / 2, u'\0').data(), name.data(), name.size());
    } else {
      names.Ansi.emplace_back(reinterpret_cast<const char*>(name.data()), name.size());
    }
  });
  if (!terminated) return std::nullopt;
  return names;
}

}  // namespace ContextM
