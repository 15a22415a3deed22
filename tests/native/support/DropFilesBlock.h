// DROPFILES blocks built from names (the tools' own builder), and bytes held at the very end of their own
// allocation so that AddressSanitizer sees any read past them.
#pragma once

#include "tools/DropFilesBlock.h"

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace NativeTesting {

using Tools::DropFilesBlock;
using Tools::TBlockLayout;

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
