// The shell host under Wine: the registered handler found, created, shown, invoked and photographed.
#include "PngReading.h"
#include "RegistryState.h"
#include "ToolRun.h"
#include "support/Platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

namespace {

const char HandlersKey[] = "\\shellex\\ContextMenuHandlers\\";

fs::path Library() { return Testing::BuildFolder() / "tarnctx.dll"; }

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The lines from the first that starts with the given text to the end.
Strings LinesFrom(const Strings& lines, const std::string& start) {
  auto first =
      std::find_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.starts_with(start); });
  return Strings(first, lines.end());
}

}  // namespace

// The library registered with regsvr32 and named under one class key by a handler entry of the test's own.
class HostTest : public ::testing::Test {
protected:
  void SetUp() override {
    // A text file's type is txtfile, as on Windows; not every Wine prefix says so.
    char type[256] = "";
    DWORD size = sizeof type;
    FTextTypeKept =
        ::RegGetValueA(HKEY_CLASSES_ROOT, ".txt", nullptr, RRF_RT_REG_SZ, nullptr, type, &size) == ERROR_SUCCESS;
    FTextType = type;
    Testing::SetRegistryString(HKEY_CLASSES_ROOT, ".txt", "", "txtfile");
    ASSERT_EQ(Testing::RunTool("regsvr32 /s " + Testing::Quoted(Library())).ExitCode, 0u);
    Attach("*");
    Options.SetString("UnhideMask", "*.bmp");
  }
  void TearDown() override {
    for (const std::string& key : FAttached) ::RegDeleteTreeA(HKEY_CLASSES_ROOT, key.c_str());
    Testing::RunTool("regsvr32 /s /u " + Testing::Quoted(Library()));
    RestoreTextType();
  }

  // A handler entry named "TarnctxHostTest" whose default value is the class; with an empty value the key itself
  // is named by the class.
  void Attach(const std::string& classKey, const std::string& classText = Testing::HandlerClassText,
              bool byName = false) {
    std::string key = classKey + HandlersKey + (byName ? classText : "TarnctxHostTest");
    Testing::SetRegistryString(HKEY_CLASSES_ROOT, key, "", byName ? "" : classText);
    FAttached.push_back(key);
  }
  void DetachAll() {
    for (const std::string& key : FAttached) ::RegDeleteTreeA(HKEY_CLASSES_ROOT, key.c_str());
    FAttached.clear();
  }

  static Testing::TToolRun Host(const std::string& arguments) {
    return Testing::RunTool(Testing::Quoted(Testing::BuildFolder() / "tools" / "shellhost.exe") + " " + arguments);
  }
  std::string Picture() const { return Folder.File("holiday.bmp"); }
  std::string Text() const { return Folder.File("notes.txt"); }

  Testing::TOptionsKey Options;
  Testing::TTempFolder Folder{"tarnctx-host"};

private:
  void RestoreTextType() {
    if (FTextTypeKept)
      Testing::SetRegistryString(HKEY_CLASSES_ROOT, ".txt", "", FTextType);
    else
      ::RegDeleteKeyValueA(HKEY_CLASSES_ROOT, ".txt", nullptr);
  }

  std::vector<std::string> FAttached;
  std::string FTextType;  // the prefix's own, put back at the end
  bool FTextTypeKept = false;
};

// Finding and showing ------------------------------------------------------------------------------

TEST_F(HostTest, HandlerRegisteredForAllFilesIsFoundAndItsMenuPrinted) {
  std::string picture = Picture(), text = Text();
  Testing::TToolRun run = Host(Testing::Quoted(picture) + " " + Testing::Quoted(text));
  ASSERT_EQ(run.ExitCode, 0u) << run.Err;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(run.OutLines(),
            (Strings{
                "Selection: holiday.bmp, notes.txt in " + Folder.Path().string(),
                std::string("Handler ") + Testing::HandlerClassText + " from HKCR\\*" + HandlersKey + "TarnctxHostTest",
                "Menu (CMF_NORMAL):",
                "  Tarnwick  submenu, bitmap 16x16",
                "    Hide...                  id 1000 (+0)  Hide the selected file(s) in a carrier file",
                "    Hide in this carrier...  id 1007 (+7)  Hide data in selected carrier: " + picture,
                "    Unhide...                id 1001 (+1)  Unhide data from the selected carrier file: " + picture,
                "    Unhide here...           id 1008 (+8)  Unhide all files from the selected carrier in the current "
                "folder",
                "    -----------------------",
                "    Encrypt...               id 1003 (+3)  Encrypt the selected file(s)",
                "    Encrypt and send...      id 1009 (+9)  Encrypt the selected file(s) and send via e-mail",
                "    -----------------------",
                "    Shred...                 id 1006 (+6)  Shred the selected file(s)",
            }));
}

TEST_F(HostTest, MenuFlagsReachTheHandler) {
  std::string picture = Testing::Quoted(Picture());
  Testing::TToolRun defaultOnly = Host("--default-only " + picture);
  EXPECT_EQ(defaultOnly.ExitCode, 0u);
  EXPECT_EQ(LinesFrom(defaultOnly.OutLines(), "Menu"),
            (Strings{"Menu (CMF_DEFAULTONLY): empty, the handlers added nothing"}));

  Testing::TToolRun explore = Host("--explore --default-only " + picture);
  Strings menu = LinesFrom(explore.OutLines(), "Menu");
  ASSERT_GE(menu.size(), 2u) << explore.Out;
  EXPECT_EQ(menu[0], "Menu (CMF_DEFAULTONLY | CMF_EXPLORE):");
  EXPECT_EQ(menu[1], "  Tarnwick  submenu, bitmap 16x16");
}

// Which class keys apply: the file type's, "*" and AllFilesystemObjects for files; Directory, Folder and
// AllFilesystemObjects for folders. An entry names its class by its default value or by its own name.
struct TDiscoveryCase {
  const char* ClassKey;
  bool ByName;
  bool ForText, ForPicture, ForFolder;
};

class HostDiscoveryTest : public HostTest, public ::testing::WithParamInterface<TDiscoveryCase> {};

TEST_P(HostDiscoveryTest, HandlersOfTheItemsTypeAreFoundAndNoOthers) {
  const TDiscoveryCase& entry = GetParam();
  DetachAll();
  Attach(entry.ClassKey, Testing::HandlerClassText, entry.ByName);
  std::string folder = Folder.Folder("album");
  std::pair<std::string, bool> selections[] = {
      {Text(), entry.ForText}, {Picture(), entry.ForPicture}, {folder, entry.ForFolder}};
  for (const auto& [path, found] : selections) {
    Testing::TToolRun run = Host(Testing::Quoted(path));
    EXPECT_EQ(run.ExitCode, found ? 0u : 4u) << path << "\n" << run.Err;
    EXPECT_EQ(Contains(run.Out, std::string("from HKCR\\") + entry.ClassKey + HandlersKey), found) << run.Out;
  }
}

INSTANTIATE_TEST_SUITE_P(ClassKeys, HostDiscoveryTest,
                         ::testing::Values(TDiscoveryCase{"*", false, true, true, false},
                                           TDiscoveryCase{"txtfile", false, true, false, false},
                                           TDiscoveryCase{"Directory", true, false, false, true},
                                           TDiscoveryCase{"Folder", false, false, false, true},
                                           TDiscoveryCase{"AllFilesystemObjects", true, true, true, true}));

// Failures and their exit codes ------------------------------------------------------------------------

TEST_F(HostTest, UnregisteredSelectionSaysSo) {
  DetachAll();
  Testing::TToolRun run = Host(Testing::Quoted(Text()));
  EXPECT_EQ(run.ExitCode, 4u);
  EXPECT_EQ(run.Err,
            "shellhost: No context-menu handler is registered for notes.txt (searched txtfile, *, "
            "AllFilesystemObjects)\n");
}

TEST_F(HostTest, MissingFilesAndWrongArgumentsHaveTheirExitCodes) {
  std::string missing = (Folder.Path() / "gone.bmp").string();
  Testing::TToolRun run = Host(Testing::Quoted(missing));
  EXPECT_EQ(run.ExitCode, 3u);
  EXPECT_EQ(run.Err, "shellhost: No such file or folder: " + missing + "\n");
  EXPECT_EQ(run.Out, "");

  EXPECT_EQ(Host("").ExitCode, 2u);
  EXPECT_EQ(Host("--sideways " + Testing::Quoted(Text())).ExitCode, 2u);
  EXPECT_EQ(Host("--invoke").ExitCode, 2u);
  Folder.Folder("sub");
  std::string elsewhere = Testing::Quoted(Folder.File("sub\\other.txt"));
  EXPECT_EQ(Host(Testing::Quoted(Text()) + " " + elsewhere).ExitCode, 2u) << "items of two folders";
}

TEST_F(HostTest, ClassThatCannotBeCreatedIsReportedWithCOMsAnswer) {
  DetachAll();
  Attach("*", "{0BADC0DE-0000-4000-8000-000000000001}");
  Testing::TToolRun alone = Host(Testing::Quoted(Text()));
  EXPECT_EQ(alone.ExitCode, 5u);
  EXPECT_EQ(alone.Err,
            "shellhost: CoCreateInstance of {0BADC0DE-0000-4000-8000-000000000001} failed: 0x80040154 "
            "(REGDB_E_CLASSNOTREG)\n")
      << "Wine has no system text for this result";

  // Beside a handler that works, the broken one is left out and said so.
  Attach("AllFilesystemObjects");
  Testing::TToolRun beside = Host(Testing::Quoted(Text()));
  EXPECT_EQ(beside.ExitCode, 0u);
  EXPECT_TRUE(beside.Err.starts_with("Handler {0BADC0DE-0000-4000-8000-000000000001} from HKCR\\*")) << beside.Err;
  EXPECT_TRUE(Contains(beside.Out, "  Tarnwick  submenu")) << beside.Out;
}

TEST_F(HostTest, FailingCallShowsItsResultAndTheSystemsText) {
  Testing::TToolRun separator = Host("--invoke 5 " + Testing::Quoted(Text()));
  EXPECT_EQ(separator.ExitCode, 6u);
  std::string failed = "shellhost: IContextMenu::InvokeCommand failed: 0x80070057 (E_INVALIDARG) ";
  EXPECT_TRUE(separator.Err.starts_with(failed)) << separator.Err;
  EXPECT_GT(separator.Err.size(), failed.size() + 5) << "the system's text for the result";

  EXPECT_EQ(Host("--invoke Tarnwick/Unhide... " + Testing::Quoted(Text())).ExitCode, 7u) << "not shown for a text";
  EXPECT_EQ(Host("--invoke Tarnwick " + Testing::Quoted(Text())).ExitCode, 7u) << "a submenu";
}

// Choosing an item ---------------------------------------------------------------------------------------

TEST_F(HostTest, InvokeReachesTheMainApplicationWithTheExactCommandLine) {
  Testing::TStandIn standIn(Folder, "main.exe");
  Options.SetString("ExeName", standIn.ExePath());
  std::string picture = Picture(), text = Text();

  Testing::TToolRun run =
      Host("--invoke Tarnwick/Encrypt... " + Testing::Quoted(picture) + " " + Testing::Quoted(text));
  ASSERT_EQ(run.ExitCode, 0u) << run.Err;
  Testing::TRecordedLaunch launch = standIn.Wait();
  ASSERT_TRUE(launch.Started);
  EXPECT_EQ(launch.CommandLine, standIn.ExePath() + " /e \"" + picture + "\" \"" + text + "\" ");
  EXPECT_EQ(launch.Arguments, (Strings{"/e", picture, text}));
  Strings tail = LinesFrom(run.OutLines(), "Invoking");
  ASSERT_FALSE(tail.empty()) << run.Out;
  EXPECT_TRUE(tail.front().starts_with("Invoking Tarnwick/Encrypt... (offset 3 of {5D3E8A41-")) << tail.front();
  EXPECT_TRUE(tail.front().ends_with(", SW_SHOWNORMAL")) << tail.front();
  EXPECT_TRUE(tail.back().starts_with("Started main.exe (process ")) << tail.back();
  EXPECT_TRUE(tail.back().ends_with("which ended with exit code 0")) << tail.back();

  // By offset, for Shred.
  ASSERT_EQ(Host("--invoke 6 " + Testing::Quoted(text)).ExitCode, 0u);
  launch = standIn.Wait();
  ASSERT_TRUE(launch.Started);
  EXPECT_EQ(launch.CommandLine, standIn.ExePath() + " /s \"" + text + "\" ");
}

// The screenshot ---------------------------------------------------------------------------------------

namespace {

struct TPixels {
  int Width, Height;
  std::vector<std::uint32_t> Rgb;  // 0xRRGGBB, top row first
  std::uint32_t At(int x, int y) const { return Rgb[static_cast<std::size_t>(y) * Width + x]; }
};

// The library's menu bitmap, as the platform renders it at 32 bits.
TPixels MenuBitmap() {
  Win32::TLibrary library(::LoadLibraryExA(Library().string().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  Win32::TBitmap bitmap(
      static_cast<HBITMAP>(::LoadImageA(library.get(), "ICON1", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  BITMAP info{};
  ::GetObjectA(bitmap.get(), sizeof info, &info);
  TPixels pixels{info.bmWidth, info.bmHeight, std::vector<std::uint32_t>(info.bmWidth * info.bmHeight)};
  BITMAPINFO format{};
  format.bmiHeader = {sizeof format.bmiHeader, info.bmWidth, -info.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  Win32::TScreenDc screen(::GetDC(nullptr));
  ::GetDIBits(screen.get(), bitmap.get(), 0, info.bmHeight, pixels.Rgb.data(), &format, DIB_RGB_COLORS);
  for (std::uint32_t& pixel : pixels.Rgb) pixel &= 0xFFFFFF;
  return pixels;
}

TPixels FromImage(const Host::TImage& image) {
  TPixels pixels{image.Width, image.Height, {}};
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Width; ++x) pixels.Rgb.push_back(image.Pixel(x, y));
  return pixels;
}

bool BlockAt(const TPixels& image, int x, int y, const TPixels& bitmap, int bx, int by, int size) {
  for (int dy = 0; dy < size; ++dy)
    for (int dx = 0; dx < size; ++dx)
      if (image.At(x + dx, y + dy) != bitmap.At(bx + dx, by + dy)) return false;
  return true;
}

// Some 6x6 block of the bitmap that holds more than its background, found pixel for pixel in the image: the
// menu may show the bitmap cut to its check-mark area.
bool ShowsBitmap(const TPixels& image, const TPixels& bitmap) {
  const int size = 6;
  for (int by = 0; by + size <= bitmap.Height; ++by)
    for (int bx = 0; bx + size <= bitmap.Width; ++bx) {
      int drawn = 0;
      for (int dy = 0; dy < size; ++dy)
        for (int dx = 0; dx < size; ++dx) drawn += bitmap.At(bx + dx, by + dy) != bitmap.At(0, 0);
      if (drawn < 8) continue;
      for (int y = 0; y + size <= image.Height; ++y)
        for (int x = 0; x + size <= image.Width; ++x)
          if (BlockAt(image, x, y, bitmap, bx, by, size)) return true;
    }
  return false;
}

SIZE MenuTextExtent(const char* text) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  Win32::TFont font(::CreateFontIndirectA(&metrics.lfMenuFont));
  Win32::TScreenDc screen(::GetDC(nullptr));
  HGDIOBJ previous = ::SelectObject(screen.get(), font.get());
  SIZE extent{};
  ::GetTextExtentPoint32A(screen.get(), text, static_cast<int>(std::strlen(text)), &extent);
  ::SelectObject(screen.get(), previous);
  return extent;
}

std::uint32_t SystemColor(int index) {
  COLORREF color = ::GetSysColor(index);
  return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

}  // namespace

TEST_F(HostTest, ScreenshotIsAPngOfTheOpenMenuWithItsBitmap) {
  std::string file = (Folder.Path() / "menu.png").string();
  Testing::TToolRun run = Host("--screenshot " + Testing::Quoted(file) + " " + Testing::Quoted(Picture()));
  ASSERT_EQ(run.ExitCode, 0u) << run.Err;
  std::optional<Host::TImage> image = Testing::DecodePngFile(file);
  ASSERT_TRUE(image) << "not a PNG that the system's codec reads";
  std::string reported = "Screenshot of the open menu: " + std::to_string(image->Width) + "x" +
                         std::to_string(image->Height) + " pixels, saved to " + file;
  EXPECT_EQ(run.OutLines().back(), reported);

  // Wide enough for the item and the open submenu side by side, high enough for the submenu's seven items, and no
  // more than the menus with a margin.
  SIZE item = MenuTextExtent("Tarnwick"), widest = MenuTextExtent("Hide in this carrier...");
  EXPECT_GT(image->Width, item.cx + widest.cx);
  EXPECT_LT(image->Width, 3 * (item.cx + widest.cx) + 100);
  EXPECT_GT(image->Height, 7 * widest.cy);
  EXPECT_LT(image->Height, 3 * 9 * widest.cy + 100);

  TPixels pixels = FromImage(*image);
  EXPECT_EQ(pixels.At(0, 0), SystemColor(COLOR_WINDOW)) << "the margin shows the host's window";
  EXPECT_TRUE(std::count(pixels.Rgb.begin(), pixels.Rgb.end(), SystemColor(COLOR_HIGHLIGHT)) > 100)
      << "the expanded item is highlighted";
  EXPECT_TRUE(ShowsBitmap(pixels, MenuBitmap())) << "the menu's bitmap is not in the picture";
}

// Windows 11's first menu ------------------------------------------------------------------------------

namespace {

// The submenu's captions and rules, without the columns only one of the two menus has.
Strings SubmenuCaptions(const Strings& lines) {
  Strings captions;
  for (const std::string& line : lines)
    if (line.starts_with("    ")) captions.push_back(line.substr(4, line.find("  ", 4) - 4));
  return captions;
}

// Everything from the state on, but the heading that names the order.
Strings ModernTree(const Testing::TToolRun& run) {
  Strings lines = LinesFrom(run.OutLines(), "State");
  std::erase_if(lines, [](const std::string& line) { return line.starts_with("Menu (Windows 11"); });
  return lines;
}

}  // namespace

TEST_F(HostTest, ModernMenuShowsTheClassicItemsInEveryCallOrder) {
  Options.SetString("UnhideInst", "1");
  Options.SetString("DecryptSec", "1");
  std::string picture = Testing::Quoted(Picture()), text = Testing::Quoted(Text());
  for (const std::string& selection : {picture + " " + text, text + " " + picture}) {
    Testing::TToolRun classic = Host(selection), modern = Host("--modern " + selection);
    ASSERT_EQ(classic.ExitCode, 0u) << classic.Out << classic.Err;
    ASSERT_EQ(modern.ExitCode, 0u) << modern.Err;
    EXPECT_EQ(SubmenuCaptions(modern.OutLines()), SubmenuCaptions(classic.OutLines()))
        << modern.Out << "the classic menu:\n"
        << classic.Out << classic.Err;
    EXPECT_TRUE(Contains(modern.Out, "\n  Tarnwick  submenu, icon 16, 20, 24, 32, 48\n")) << modern.Out;
    EXPECT_TRUE(LinesFrom(modern.OutLines(), "    Shred...")
                    .front()
                    .ends_with("  icon 16, 20, 24, 32, 48  Shred the selected file(s)"))
        << modern.Out;
    for (const char* order : {"title-first", "enum-first"})
      EXPECT_EQ(ModernTree(Host("--modern --order " + std::string(order) + " " + selection)), ModernTree(modern))
          << order;
  }
}

TEST_F(HostTest, ModernInvokeHandsTheMainApplicationTheClassicCommandLine) {
  Testing::TStandIn standIn(Folder, "main.exe");
  Options.SetString("ExeName", standIn.ExePath());
  std::string selection = Testing::Quoted(Picture()) + " " + Testing::Quoted(Text());
  ASSERT_EQ(Host("--invoke Tarnwick/Encrypt... " + selection).ExitCode, 0u);
  Testing::TRecordedLaunch classic = standIn.Wait();
  Testing::TToolRun modern = Host("--modern --invoke Tarnwick/Encrypt... " + selection);
  ASSERT_EQ(modern.ExitCode, 0u) << modern.Err;
  Testing::TRecordedLaunch launch = standIn.Wait();
  ASSERT_TRUE(classic.Started && launch.Started);
  EXPECT_EQ(launch.CommandLine, classic.CommandLine);
  EXPECT_TRUE(LinesFrom(modern.OutLines(), "Started main.exe").size() == 1) << modern.Out;
  EXPECT_EQ(Host("--modern --invoke Tarnwick/Nothing " + selection).ExitCode, 7u);
}
