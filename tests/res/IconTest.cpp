// The library's icons, read from the built tarnctx.dll as the shell reads an icon location "path,-id".
#include "res/IconIds.h"
#include "win32/Handles.h"
#include "win32/Module.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

inline void DestroyIconHandle(HICON icon) { ::DestroyIcon(icon); }
using TIcon = Win32::TUniqueHandle<HICON, DestroyIconHandle>;

const int IconSizes[] = {16, 20, 24, 32, 48};

fs::path BuiltLibrary() { return fs::path(Win32::ModulePath()).parent_path().parent_path() / "tarnctx.dll"; }

// The icon location as a registry value or a manifest names it, parsed by the shell's own function.
std::pair<std::wstring, int> ParsedLocation(int id) {
  std::wstring location = BuiltLibrary().wstring() + L",-" + std::to_wstring(id);
  std::vector<wchar_t> path(location.begin(), location.end());
  path.push_back(L'\0');
  int index = ::PathParseIconLocationW(path.data());
  return {path.data(), index};
}

struct TPixel {
  BYTE Blue, Green, Red, Alpha;
};

// The colour bitmap of an icon as 32-bit top-down pixels, alpha included.
std::vector<TPixel> Pixels(HICON icon, int size) {
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return {};
  Win32::TBitmap colour(info.hbmColor), mask(info.hbmMask);
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<TPixel> pixels(size * size);
  HDC screen = ::GetDC(nullptr);
  int rows = ::GetDIBits(screen, colour.get(), 0, size, pixels.data(), &format, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  return rows == size ? pixels : std::vector<TPixel>{};
}

// Relative luminance of an sRGB colour, as contrast ratios are defined.
double Luminance(double red, double green, double blue) {
  auto linear = [](double channel) {
    channel /= 255;
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(red) + 0.7152 * linear(green) + 0.0722 * linear(blue);
}

// The share of the icon's solid pixels that stand out from a grey menu background by the 3:1 contrast that
// graphics need to be told apart.
double VisibleShare(const std::vector<TPixel>& pixels, double grey) {
  double background = Luminance(grey, grey, grey);
  int solid = 0, visible = 0;
  for (const TPixel& pixel : pixels) {
    if (pixel.Alpha < 128) continue;
    double alpha = pixel.Alpha / 255.0;
    auto over = [&](BYTE channel) { return alpha * channel + (1 - alpha) * grey; };
    double shown = Luminance(over(pixel.Red), over(pixel.Green), over(pixel.Blue));
    double ratio = (std::max(shown, background) + 0.05) / (std::min(shown, background) + 0.05);
    ++solid;
    if (ratio >= 3) ++visible;
  }
  return solid ? static_cast<double>(visible) / solid : 0;
}

struct TIconCase {
  const char* Name;
  int Id;
};

class LibraryIcon : public ::testing::TestWithParam<TIconCase> {
protected:
  void SetUp() override {
    FModule.reset(
        ::LoadLibraryExW(BuiltLibrary().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(FModule) << "cannot load " << BuiltLibrary().string();
  }

  TIcon Load(int size) const {
    return TIcon(static_cast<HICON>(
        ::LoadImageW(FModule.get(), MAKEINTRESOURCEW(GetParam().Id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
  }

  // The icon's pixels at one size; none when it does not load.
  std::vector<TPixel> PixelsAt(int size) const {
    TIcon icon = Load(size);
    return icon ? Pixels(icon.get(), size) : std::vector<TPixel>{};
  }

  Win32::TLibrary FModule;
};

TEST_P(LibraryIcon, LocationResolvesThroughTheShell) {
  auto [path, index] = ParsedLocation(GetParam().Id);
  EXPECT_EQ(path, BuiltLibrary().wstring());
  ASSERT_EQ(index, -GetParam().Id);
  TIcon large, small;
  EXPECT_GE(::ExtractIconExW(path.c_str(), index, large.put(), small.put(), 1), 1u);
  EXPECT_TRUE(large);
  EXPECT_TRUE(small);
}

// Each size must be drawn, not scaled from another: the group lists exactly these, all 32-bit.
TEST_P(LibraryIcon, GroupHoldsEverySizeIn32Bits) {
  HRSRC found = ::FindResourceA(FModule.get(), MAKEINTRESOURCEA(GetParam().Id), RT_GROUP_ICON);
  ASSERT_NE(found, nullptr);
  const BYTE* group = static_cast<const BYTE*>(::LockResource(::LoadResource(FModule.get(), found)));
  ASSERT_NE(group, nullptr);
  WORD count = 0;
  std::memcpy(&count, group + 4, sizeof count);
  std::vector<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    const BYTE* entry = group + 6 + 14 * i;  // GRPICONDIRENTRY: width, height, colours, reserved, planes, bits...
    WORD bits = 0;
    std::memcpy(&bits, entry + 6, sizeof bits);
    EXPECT_EQ(bits, 32) << "entry " << i;
    EXPECT_EQ(entry[0], entry[1]) << "entry " << i;
    sizes.push_back(entry[0]);
  }
  std::sort(sizes.begin(), sizes.end());
  EXPECT_EQ(sizes, std::vector<int>(std::begin(IconSizes), std::end(IconSizes)));
}

TEST_P(LibraryIcon, EverySizeHasSmoothTransparency) {
  for (int size : IconSizes) {
    SCOPED_TRACE(size);
    std::vector<TPixel> pixels = PixelsAt(size);
    ASSERT_EQ(pixels.size(), static_cast<size_t>(size * size));
    auto count = [&](auto test) { return std::count_if(pixels.begin(), pixels.end(), test); };
    EXPECT_GT(count([](TPixel p) { return p.Alpha == 0; }), 0) << "no transparent pixel";
    EXPECT_GT(count([](TPixel p) { return p.Alpha == 255; }), 0) << "no opaque pixel";
    EXPECT_GT(count([](TPixel p) { return p.Alpha > 0 && p.Alpha < 255; }), 0) << "no smoothed edge";
  }
}

// Windows 11 draws its menus light (#F9F9F9) or dark (#2C2C2C). On each, the fill or the outline must make a
// clear share of the picture stand out: a dark picture without a light outline vanishes on the dark menu.
TEST_P(LibraryIcon, ReadsOnTheLightAndTheDarkMenu) {
  for (int size : IconSizes) {
    SCOPED_TRACE(size);
    std::vector<TPixel> pixels = PixelsAt(size);
    ASSERT_EQ(pixels.size(), static_cast<size_t>(size * size));
    EXPECT_GE(VisibleShare(pixels, 0xF9), 0.3) << "on the light menu";
    EXPECT_GE(VisibleShare(pixels, 0x2C), 0.3) << "on the dark menu";
  }
}

INSTANTIATE_TEST_SUITE_P(Library, LibraryIcon,
                         ::testing::Values(TIconCase{"Tarnwick", IDI_TARNWICK}, TIconCase{"Encrypt", IDI_ENCRYPT},
                                           TIconCase{"EncryptSend", IDI_ENCRYPT_SEND}, TIconCase{"Shred", IDI_SHRED}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(LibraryIconLocation, AnIdWithoutIconGivesNone) {
  auto [path, index] = ParsedLocation(IDI_SHRED + 1);
  // Only the count says anything: Wine leaves values in the arrays that are no icons when it finds none.
  HICON large = nullptr, small = nullptr;
  EXPECT_EQ(::ExtractIconExW(path.c_str(), index, &large, &small, 1), 0u);
}

}  // namespace
