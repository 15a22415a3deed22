// DROPFILES blocks built from names, laid out as the shell lays them out or deliberately otherwise,
// and bytes held at the very end of their own allocation so that AddressSanitizer sees any read past them.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace NativeTesting {

// Where the list starts and what follows its terminating empty name.
struct TBlockLayout {
  std::size_t ListOffset = 20;               // the header's size; more leaves a gap, odd misaligns wide names
  std::vector<std::byte> AfterList;          // bytes past the list, inside the block
};

std::vector<std::byte> DropFilesBlock(const std::vector<std::string>& names, const TBlockLayout& layout = {});
std::vector<std::byte> DropFilesBlock(const std::vector<std::u16string>& names, const TBlockLayout& layout = {});

// A copy of some bytes that ends where its allocation ends, so that AddressSanitizer reports a read past it.
// At an odd address, UndefinedBehaviorSanitizer reports any misaligned read of a field or a wide character.
class TExactBytes {
public:
  explicit TExactBytes(std::span<const std::byte> bytes, bool oddAddress = false);
  std::span<const std::byte> Span() const { return {FStart, FSize}; }

private:
  std::unique_ptr<std::byte[]> FAllocation;
  std::byte* FStart;
  std::size_t FSize;
};

}  // namespace NativeTesting
