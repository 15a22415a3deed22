// The tools' own PNG writer, read back by the platform's codec.
#include "PngReading.h"
#include "tools/shellhost/PngWriter.h"

#include <gtest/gtest.h>

#include <string>

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

TEST(PngWriterTest, ChecksumsHaveTheirPublishedValues) {
  const std::uint8_t end[] = {'I', 'E', 'N', 'D'};
  EXPECT_EQ(Host::Crc32(end, sizeof end), 0xAE426082u);  // every PNG file ends in these bytes
  std::string word = "Wikipedia";
  EXPECT_EQ(Host::Adler32({word.begin(), word.end()}), 0x11E60398u);
  EXPECT_EQ(Host::Adler32({}), 1u);
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
