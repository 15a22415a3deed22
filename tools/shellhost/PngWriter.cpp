// The PNG signature, then IHDR, one IDAT holding a zlib stream of stored blocks, and IEND.
#include "PngWriter.h"

#include "HostError.h"
#include "tools/Text.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>

namespace Host {

namespace {

constexpr std::array<std::uint32_t, 256> CrcTable = [] {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int bit = 0; bit < 8; ++bit) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}();

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, const char (&type)[5], const std::vector<std::uint8_t>& data) {
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBigEndian(out, Crc32(&out[start], out.size() - start));
}

// Each row starts with filter type 0 (none).
std::vector<std::uint8_t> Scanlines(const TImage& image) {
  std::vector<std::uint8_t> lines;
  std::size_t rowBytes = static_cast<std::size_t>(image.Width) * 3;
  lines.reserve((rowBytes + 1) * image.Height);
  for (int y = 0; y < image.Height; ++y) {
    lines.push_back(0);
    auto row = image.Rgb.begin() + static_cast<std::ptrdiff_t>(rowBytes * y);
    lines.insert(lines.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
  }
  return lines;
}

// A zlib stream (deflate, 32 KB window, no dictionary) of stored blocks of at most 65535 bytes.
std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> out{0x78, 0x01};
  std::size_t offset = 0;
  do {
    std::size_t length = std::min<std::size_t>(data.size() - offset, 0xFFFF);
    bool last = offset + length == data.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<std::uint8_t>(length));
    out.push_back(static_cast<std::uint8_t>(length >> 8));
    out.push_back(static_cast<std::uint8_t>(~length));
    out.push_back(static_cast<std::uint8_t>(~length >> 8));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(offset),
               data.begin() + static_cast<std::ptrdiff_t>(offset + length));
    offset += length;
  } while (offset < data.size());
  PutBigEndian(out, Adler32(data));
  return out;
}

}  // namespace

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) crc = CrcTable[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::uint32_t Adler32(const std::vector<std::uint8_t>& data) {
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

std::vector<std::uint8_t> EncodePng(const TImage& image) {
  std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  PutBigEndian(header, static_cast<std::uint32_t>(image.Width));
  PutBigEndian(header, static_cast<std::uint32_t>(image.Height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, adaptive filters, no interlace
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", StoredZlib(Scanlines(image)));
  PutChunk(png, "IEND", {});
  return png;
}

void WritePng(const TImage& image, const std::wstring& path) {
  std::vector<std::uint8_t> png = EncodePng(image);
  std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  if (!file.flush()) throw EHostError(TExitCode::ecScreenshot, "Cannot write " + Tools::Utf8(path));
}

}  // namespace Host
