// The shell host's PNG files, read back by the platform's decoder.
#include "PngReading.h"
#include "tools/shellhost/PngWriter.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

Host::TImage Pattern(int width, int height) {
  Host::TImage image{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.Rgb.insert(image.Rgb.end(), {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 13),
                                         static_cast<std::uint8_t>((x ^ y) & 0xFF)});
  return image;
}

}  // namespace

TEST(PngWriterTest, FileRunsFromTheSignatureToTheEndChunk) {
  std::vector<std::uint8_t> png = Host::EncodePng(Pattern(2, 2));
  const std::vector<std::uint8_t> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  // An empty IEND chunk and its checksum: every complete PNG file ends in these bytes.
  const std::vector<std::uint8_t> end{0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
  ASSERT_GT(png.size(), signature.size() + end.size());
  EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin()));
  EXPECT_TRUE(std::equal(end.begin(), end.end(), png.end() - static_cast<std::ptrdiff_t>(end.size())));
}

// One pixel; rows of odd length; and more than 64 KB of rows, which takes several stored blocks.
class PngRoundTripTest : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(PngRoundTripTest, TheSystemCodecReadsBackEveryPixel) {
  auto [width, height] = GetParam();
  Host::TImage written = Pattern(width, height);
  std::optional<Host::TImage> read = Testing::DecodePng(Host::EncodePng(written));
  ASSERT_TRUE(read) << "the codec refused the file";
  EXPECT_EQ(read->Width, width);
  EXPECT_EQ(read->Height, height);
  EXPECT_TRUE(read->Rgb == written.Rgb);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PngRoundTripTest,
                         ::testing::Values(std::pair{1, 1}, std::pair{3, 2}, std::pair{257, 159}, std::pair{300, 200}));
