// The library's bitmap and version resources, read back from this program, which links the same resource objects.
#include "com/ModuleInstance.h"
#include "win32/Handles.h"
#include "win32/Module.h"
#include "win32/Text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct TBitmapResource {
  const char* Name;
  LONG Width, Height;
  WORD BitsPerPixel;
  DWORD ResourceSize;
};

std::ostream& operator<<(std::ostream& out, const TBitmapResource& bitmap) { return out << bitmap.Name; }

class BitmapResource : public ::testing::TestWithParam<TBitmapResource> {};

TEST_P(BitmapResource, IsAnUncompressedDibWithAFullColourTable) {
  const TBitmapResource& expected = GetParam();
  HMODULE module = ComObj::ModuleInstance();
  HRSRC resource = ::FindResourceA(module, expected.Name, RT_BITMAP);
  ASSERT_NE(resource, nullptr);
  EXPECT_EQ(::SizeofResource(module, resource), expected.ResourceSize);

  const void* data = ::LockResource(::LoadResource(module, resource));
  ASSERT_NE(data, nullptr);
  BITMAPINFOHEADER header;
  std::memcpy(&header, data, sizeof header);
  EXPECT_EQ(header.biSize, 40u);
  EXPECT_EQ(header.biWidth, expected.Width);
  EXPECT_EQ(header.biHeight, expected.Height);  // positive: stored bottom-up
  EXPECT_EQ(header.biPlanes, 1);
  EXPECT_EQ(header.biBitCount, expected.BitsPerPixel);
  EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
  DWORD colours = header.biClrUsed ? header.biClrUsed : 1u << header.biBitCount;
  EXPECT_EQ(colours, 1u << expected.BitsPerPixel);
}

INSTANTIATE_TEST_SUITE_P(Library, BitmapResource,
                         ::testing::Values(TBitmapResource{"ENC", 13, 13, 4, 208},
                                           TBitmapResource{"ENCSEND", 16, 16, 4, 232},
                                           TBitmapResource{"ICON1", 16, 16, 8, 1320},
                                           TBitmapResource{"ICON2", 16, 16, 8, 1320},
                                           TBitmapResource{"SHRED", 13, 13, 4, 208}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(BitmapResourceLoad, Icon1LoadsAsA16By16Bitmap) {
  Win32::TBitmap bitmap(::LoadBitmapA(ComObj::ModuleInstance(), "ICON1"));
  ASSERT_TRUE(bitmap);
  BITMAP info{};
  ASSERT_EQ(::GetObjectA(bitmap.get(), sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmWidth, 16);
  EXPECT_EQ(info.bmHeight, 16);
}

// The version block of this program's file.
class VersionResource : public ::testing::Test {
protected:
  void SetUp() override {
    std::string path = Win32::Narrowed(Win32::ModulePath(ComObj::ModuleInstance()));
    ASSERT_FALSE(path.empty());
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    FBlock.resize(size);
    ASSERT_TRUE(::GetFileVersionInfoA(path.c_str(), 0, size, FBlock.data()));
  }

  std::string Text(const std::string& name) {
    void* value = nullptr;
    UINT length = 0;
    std::string path = "\\StringFileInfo\\040904E4\\" + name;
    if (!::VerQueryValueA(FBlock.data(), path.c_str(), &value, &length)) return "<missing>";
    return static_cast<const char*>(value);
  }

  std::vector<char> FBlock;
};

TEST_F(VersionResource, NamesTheProductAndTheLibraryFile) {
  EXPECT_EQ(Text("ProductName"), "Tarnwick");
  EXPECT_EQ(Text("OriginalFilename"), "tarnctx.dll");
  EXPECT_EQ(Text("InternalName"), "tarnctx");
  EXPECT_EQ(Text("FileDescription"), "Tarnwick context menu shell extension");
  EXPECT_EQ(Text("CompanyName"), "Velmora");
}

TEST_F(VersionResource, FixedVersionIs3000ForFileAndProduct) {
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueA(FBlock.data(), "\\", &value, &length));
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 3));
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 3));
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
}

TEST_F(VersionResource, TranslationIsUsEnglishInCodePage1252) {
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueA(FBlock.data(), "\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(length, 4u);
  const auto* translation = static_cast<const WORD*>(value);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 1252);
}

}  // namespace
