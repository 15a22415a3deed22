// PNG files decoded by the platform's own codecs (Windows Imaging Component), not by the tools' writer.
#pragma once

#include "tools/shellhost/Image.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Testing {

// Nothing when the codec refuses the bytes, as it does for a bad checksum or a truncated stream.
std::optional<Host::TImage> DecodePng(const std::vector<std::uint8_t>& png);
std::optional<Host::TImage> DecodePngFile(const std::string& path);

}  // namespace Testing
