// DROPFILES blocks built from names, laid out as the shell lays them out or deliberately otherwise.
// Free of the platform: the native sanitizer tests and fuzz targets build their blocks with it too.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace Tools {

// Where the list starts and what follows its terminating empty name.
struct TBlockLayout {
  std::size_t ListOffset = 20;       // the header's size; more leaves a gap, odd misaligns wide names
  std::vector<std::byte> AfterList;  // bytes past the list, inside the block
};

std::vector<std::byte> DropFilesBlock(const std::vector<std::string>& names, const TBlockLayout& layout = {});
std::vector<std::byte> DropFilesBlock(const std::vector<std::u16string>& names, const TBlockLayout& layout = {});

}  // namespace Tools
