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

// Copies characters one by one: a list at an odd offset must not be read through a misaligned pointer.
template <class Char>
bool ReadNames(std::span<const std::byte> list, std::vector<std::basic_string<Char>>& names) {
  std::size_t characters = list.size() / sizeof(Char);
  std::basic_string<Char> name;
  for (std::size_t i = 0; i < characters; ++i) {
    Char c;
    std::memcpy(&c, list.data() + i * sizeof(Char), sizeof c);
    if (c != Char{}) {
      name.push_back(c);
    } else if (name.empty()) {
      return true;  // the empty name that ends the list
    } else {
      names.push_back(std::move(name));
      name.clear();
    }
  }
  return false;
}

}  // namespace

std::optional<TDropFileNames> ReadDropFileNames(std::span<const std::byte> block) {
  if (block.size() < DropFilesHeaderSize) return std::nullopt;
  std::uint32_t listOffset = ReadField(block, ListOffsetField);
  if (listOffset < DropFilesHeaderSize || listOffset >= block.size()) return std::nullopt;

  TDropFileNames names;
  names.Wide = ReadField(block, WideFlagField) != 0;
  std::span<const std::byte> list = block.subspan(listOffset);
  bool terminated = names.Wide ? ReadNames(list, names.Unicode) : ReadNames(list, names.Ansi);
  if (!terminated) return std::nullopt;
  return names;
}

}  // namespace ContextM
