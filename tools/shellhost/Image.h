// A picture held as rows of red, green and blue bytes, top row first.
#pragma once

#include <cstdint>
#include <vector>

namespace Host {

struct TImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Rgb;  // Width * Height * 3 bytes

  std::uint32_t Pixel(int x, int y) const {  // 0xRRGGBB
    const std::uint8_t* at = &Rgb[(static_cast<std::size_t>(y) * Width + x) * 3];
    return (std::uint32_t{at[0]} << 16) | (std::uint32_t{at[1]} << 8) | at[2];
  }
};

}  // namespace Host
