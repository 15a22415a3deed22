// A copy that ends where its allocation ends.
#include "DropFilesBlock.h"

#include <cstring>

namespace NativeTesting {

TExactBytes::TExactBytes(std::span<const std::byte> bytes, bool oddAddress)
    : FAllocation(new std::byte[bytes.size() + (oddAddress ? 1 : 0)]),
      FStart(FAllocation.get() + (oddAddress ? 1 : 0)),
      FSize(bytes.size()) {
  if (!bytes.empty()) std::memcpy(FStart, bytes.data(), bytes.size());
}

}  // namespace NativeTesting
