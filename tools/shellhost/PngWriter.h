// PNG files of 8-bit RGB pictures, written without compression: stored deflate blocks, CRC-32 and Adler-32.
#pragma once

#include "Image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Host {

std::vector<std::uint8_t> EncodePng(const TImage& image);

// Raises EHostError ecScreenshot when the file cannot be written.
void WritePng(const TImage& image, const std::wstring& path);

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
std::uint32_t Adler32(const std::vector<std::uint8_t>& data);

}  // namespace Host
