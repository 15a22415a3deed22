// PNG files of 8-bit RGB pictures, encoded by the platform's imaging component.
#pragma once

#include "Image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Host {

// COM must be initialized on the calling thread. Raises EHostError ecScreenshot when the codec refuses.
std::vector<std::uint8_t> EncodePng(const TImage& image);

// Raises EHostError ecScreenshot when the picture cannot be encoded or the file cannot be written.
void WritePng(const TImage& image, const std::wstring& path);

}  // namespace Host
