// The names of a dropped-file list copied out of its block, for checking what the handler's reader visits.
#pragma once

#include "shell/DropFileList.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace NativeTesting {

// The names of one block, in the block's order: single-byte names as stored, or UTF-16 ones.
struct TDropFileNames {
  bool Wide = false;
  std::vector<std::string> Ansi;
  std::vector<std::u16string> Unicode;

  std::size_t Count() const { return Wide ? Unicode.size() : Ansi.size(); }
};

// None for a malformed block: one the handler's reader does not locate, or a list without its ending empty name.
// Nothing past the block is ever read.
std::optional<TDropFileNames> ReadDropFileNames(std::span<const std::byte> block);

}  // namespace NativeTesting
