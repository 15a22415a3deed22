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

template <class Char>
Char CharacterAt(std::span<const std::byte> list, std::size_t index) {
  Char c;
  std::memcpy(&c, list.data() + index * sizeof(Char), sizeof c);
  return c;
}

// Reads through memcpy, never a cast pointer: a list at an odd offset must not be read misaligned.
template <class Char>
bool ReadNames(std::span<const std::byte> list, std::vector<std::basic_string<Char>>& names) {
  std::size_t characters = list.size() / sizeof(Char);
  std::size_t start = 0;
  for (std::size_t i = 0; i < characters; ++i) {
    if (CharacterAt<Char>(list, i) != Char{}) continue;
    if (i == start) return true;  // the empty name that ends the list
    std::basic_string<Char>& name = names.emplace_back(i - start, Char{});
    std::memcpy(name.data(), list.data() + start * sizeof(Char), (i - start) * sizeof(Char));
    start = i + 1;
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
