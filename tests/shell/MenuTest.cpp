// The submenu built into real menus and read back from the platform.
#include "shell/Menu.h"
#include "shell/Selection.h"
#include "shell/Settings.h"
#include "support/Menus.h"
#include "support/Platform.h"

#include <gtest/gtest.h>
#include <shlobj.h>

using namespace ContextM;
using Testing::Captions;
using Testing::ReadMenu;
using Strings = std::vector<std::string>;

namespace {

constexpr UINT FirstId = 100;
const HRESULT Added = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 10);
const Strings EveryEntry = {"Hide...",
                            "Hide in this carrier...",
                            "Unhide...",
                            "Unhide here...",
                            "-",
                            "Encrypt...",
                            "Encrypt and send...",
                            "Decrypt...",
                            "-",
                            "Shred..."};
const Strings AlwaysShown = {"Hide...", "Encrypt...", "Encrypt and send...", "-", "Shred..."};
const Strings WithDecrypt = {"Hide...", "Encrypt...", "Encrypt and send...", "Decrypt...", "-", "Shred..."};
const Strings WithCarrier = {"Hide...",    "Hide in this carrier...", "Unhide...", "Unhide here...", "-",
                             "Encrypt...", "Encrypt and send...",     "-",         "Shred..."};

void Select(Strings paths) { SetSelectedFiles(MakeSelection(std::move(paths))); }

}  // namespace

class MenuTest : public ::testing::Test {
protected:
  void SetUp() override { Select({"C:\\files\\a.txt"}); }
  void TearDown() override { SetSelectedFiles(nullptr); }

  // Builds into a fresh shell menu at position 1 and returns the submenu's captions.
  Strings Build(UINT flags = CMF_NORMAL) {
    Shell = std::make_unique<Testing::TShellMenu>(3);
    Result = QueryContextMenu(Shell->get(), 1, FirstId, FirstId + 50, flags);
    auto entries = ReadMenu(Shell->get());
    return entries.size() == 4 ? Captions(entries[1].Submenu) : Strings{};
  }
  void FiltersOff() {
    Options.SetString("DecryptSec", "0");
    Options.SetString("UnhideInst", "0");
  }

  Testing::TOptionsKey Options;
  std::unique_ptr<Testing::TShellMenu> Shell = std::make_unique<Testing::TShellMenu>(3);
  HRESULT Result = E_FAIL;
};

TEST_F(MenuTest, BothFiltersOffGiveEveryEntryInPositionOrderWithOffsetIds) {
  FiltersOff();
  EXPECT_EQ(Build(), EveryEntry);
  EXPECT_EQ(Result, Added);
  auto submenu = ReadMenu(ReadMenu(Shell->get())[1].Submenu);
  const UINT offsets[] = {0, 7, 1, 8, 2, 3, 9, 4, 5, 6};
  for (std::size_t i = 0; i < submenu.size(); ++i) EXPECT_EQ(submenu[i].Id, FirstId + offsets[i]) << i;
  EXPECT_TRUE(submenu[4].Type & MFT_SEPARATOR);
  EXPECT_TRUE(submenu[8].Type & MFT_SEPARATOR);
}

TEST_F(MenuTest, SubmenuGoesAtTheInsertPositionWithItsBitmap) {
  FiltersOff();
  Build();
  auto shell = ReadMenu(Shell->get());
  ASSERT_EQ(shell.size(), 4u);
  EXPECT_EQ(shell[0].Text, "Shell item 0");
  EXPECT_EQ(shell[1].Text, "Tarnwick");
  EXPECT_NE(shell[1].Submenu, nullptr);
  EXPECT_EQ(shell[2].Text, "Shell item 1");
  BITMAP bitmap{};
  ASSERT_EQ(::GetObjectA(shell[1].Unchecked, sizeof bitmap, &bitmap), static_cast<int>(sizeof bitmap));
  EXPECT_EQ(bitmap.bmWidth, 16);
  EXPECT_EQ(bitmap.bmHeight, 16);
  EXPECT_EQ(shell[1].Checked, shell[1].Unchecked);
}

TEST_F(MenuTest, BitmapIsLoadedOncePerModuleAndReleasedAtUnload) {
  FiltersOff();
  Build();
  HBITMAP first = ReadMenu(Shell->get())[1].Unchecked;
  for (int i = 0; i < 50; ++i) {
    Testing::TShellMenu another;
    QueryContextMenu(another.get(), 0, FirstId, FirstId + 50, CMF_NORMAL);
    ASSERT_EQ(ReadMenu(another.get())[0].Unchecked, first);
  }
  ReleaseSubmenuBitmap();
  EXPECT_EQ(::GetObjectType(first), 0u) << "the bitmap outlived the module";
}

TEST_F(MenuTest, DefaultVerbsOnlyAndNoVerbsRequestsAddNothingAndReadNothing) {
  Options.SetDword("DecryptSec", 1);  // any read would fail
  for (UINT flags : {CMF_DEFAULTONLY, CMF_VERBSONLY, CMF_NOVERBS, CMF_DEFAULTONLY | CMF_CANRENAME}) {
    EXPECT_EQ(QueryContextMenu(Shell->get(), 1, FirstId, FirstId + 50, flags), S_OK) << flags;
    EXPECT_EQ(::GetMenuItemCount(Shell->get()), 3) << flags;
  }
}

TEST_F(MenuTest, ExploreOrHighBitsStillBuild) {
  for (UINT flags : {CMF_EXPLORE | CMF_DEFAULTONLY, CMF_CANRENAME, CMF_EXPLORE | CMF_NOVERBS}) {
    Testing::TShellMenu shell(0);
    EXPECT_EQ(QueryContextMenu(shell.get(), 0, FirstId, FirstId + 50, flags), Added) << flags;
    EXPECT_EQ(ReadMenu(shell.get()).at(0).Text, "Tarnwick");
  }
}

// Each identifier the submenu holds must be one the host granted; a range too short for all ten gets nothing.
TEST_F(MenuTest, GrantedRangeMustHoldAllTenIds) {
  FiltersOff();
  struct {
    UINT Last;
    HRESULT Result;
  } cases[] = {{FirstId + 8, S_OK}, {FirstId, S_OK}, {FirstId - 1, S_OK}, {FirstId + 9, Added}, {0x7FFF, Added}};
  for (const auto& c : cases) {
    Testing::TShellMenu shell(0);
    EXPECT_EQ(QueryContextMenu(shell.get(), 0, FirstId, c.Last, CMF_NORMAL), c.Result) << c.Last;
    auto entries = ReadMenu(shell.get());
    ASSERT_EQ(entries.size(), c.Result == Added ? 1u : 0u) << c.Last;
    if (entries.empty()) continue;
    auto submenu = ReadMenu(entries[0].Submenu);
    EXPECT_EQ(submenu.size(), EveryEntry.size());
    for (const auto& entry : submenu) EXPECT_TRUE(entry.Id >= FirstId && entry.Id <= c.Last) << entry.Id;
  }
  EXPECT_EQ(QueryContextMenu(Shell->get(), 1, ~0u - 8, ~0u, CMF_NORMAL), S_OK);  // first + 9 wraps to 0

  Options.SetDword("DecryptSec", 1);  // any read would fail
  EXPECT_EQ(QueryContextMenu(Shell->get(), 1, FirstId, FirstId + 8, CMF_NORMAL), S_OK);
  EXPECT_EQ(::GetMenuItemCount(Shell->get()), 3);
}

TEST_F(MenuTest, AbsentSelectionAddsNothingButReadsTheOptions) {
  SetSelectedFiles(nullptr);
  Options.SetString("UnhideMask", "*.new");
  EXPECT_EQ(Build(), Strings{});
  EXPECT_EQ(Result, S_OK);
  EXPECT_EQ(::GetMenuItemCount(Shell->get()), 3);
  EXPECT_EQ(CurrentOptions().CarrierMask, "*.NEW");
}

TEST_F(MenuTest, AbsentOptionsKeyShowsTheAlwaysItemsAndFiltersDecrypt) {
  Testing::TTempFolder folder;
  Select({folder.File("a.twk")});
  EXPECT_EQ(Build(), WithDecrypt);
  Select({folder.File("a.txt")});
  EXPECT_EQ(Build(), AlwaysShown);
  EXPECT_EQ(Result, Added);
}

TEST_F(MenuTest, UnreadableOptionsBuildNoMenu) {
  Options.SetString("DecryptSec", "0");
  Options.SetBytes("UnhideMask", "\x01", 1, REG_BINARY);
  EXPECT_EQ(Build(), Strings{});
  EXPECT_EQ(Result, E_UNEXPECTED);
  EXPECT_EQ(::GetMenuItemCount(Shell->get()), 3);
}

TEST_F(MenuTest, CarrierRuleLooksForTheFirstExtensionInTheMask) {
  Options.SetString("DecryptSec", "0");
  Options.SetString("UnhideMask", "*.bmp;*.jpg");
  struct {
    Strings Paths;
    bool Shown;
  } cases[] = {
      {{"C:\\d\\photo.bmp"}, true},
      {{"C:\\d\\photo.Jpg", "C:\\d\\x.txt"}, true},
      {{"C:\\d\\photo.jpeg"}, false},
      {{"C:\\d\\photo.jp"}, true},  // .JP occurs in the mask
      {{"C:\\d\\photo"}, false},
      {{"C:\\d.bmp\\photo"}, false},  // the full stop belongs to a folder
      {{"C:photo"}, false},
      {{"C:\\d\\x.txt", "C:\\d\\photo.bmp"}, false},  // only the first path decides
      {{}, false},
  };
  for (const auto& c : cases) {
    Testing::TShellMenu shell(0);
    Select(c.Paths);
    ASSERT_EQ(QueryContextMenu(shell.get(), 0, FirstId, FirstId + 50, CMF_NORMAL), Added);
    Strings captions = Captions(ReadMenu(shell.get())[0].Submenu);
    bool shown = captions.size() == 10;
    EXPECT_EQ(shown, c.Shown) << (c.Paths.empty() ? "(empty)" : c.Paths[0]);
  }
}

TEST_F(MenuTest, EmptyMaskMatchesNothing) {
  Options.SetString("DecryptSec", "0");
  Select({"C:\\d\\photo.bmp"});
  EXPECT_EQ(Build(), WithDecrypt);
}

TEST_F(MenuTest, DecryptRuleLooksAtExistingFilesOnly) {
  Options.SetString("UnhideInst", "0");
  Options.SetString("UnhideMask", "");
  Testing::TTempFolder folder;
  std::string twk = folder.File("a.twk"), upper = folder.File("b.TWK"), text = folder.File("b.txt");
  std::string sub = folder.Folder("sub"), old = folder.File("old.txt");
  Testing::SetLastWriteYear(old, 1975);
  struct {
    Strings Paths;
    bool Shown;
  } cases[] = {
      {{twk, upper}, true},
      {{twk, text}, false},
      {{text, twk}, false},
      {{twk, sub}, true},
      {{twk, (folder.Path() / "gone.txt").string()}, true},
      {{sub}, true},
      {{twk, old}, true},  // a last-write time before 1980 is no existing file
      {{}, true},
  };
  for (const auto& c : cases) {
    Testing::TShellMenu shell(0);
    Select(c.Paths);
    ASSERT_EQ(QueryContextMenu(shell.get(), 0, FirstId, FirstId + 50, CMF_NORMAL), Added);
    Strings captions = Captions(ReadMenu(shell.get())[0].Submenu);
    bool shown = std::find(captions.begin(), captions.end(), "Decrypt...") != captions.end();
    EXPECT_EQ(shown, c.Shown) << (c.Paths.size() > 1 ? c.Paths[1] : "");
  }
}

TEST_F(MenuTest, CarrierBlockAndDecryptTogether) {
  Options.SetString("DecryptSec", "1");
  Options.SetString("UnhideMask", "*.TXT");
  Testing::TTempFolder folder;
  Select({folder.File("a.txt")});
  EXPECT_EQ(Build(), WithCarrier);
  EXPECT_EQ(Result, Added);
}

TEST_F(MenuTest, MenuThatRefusesTheSubmenuLeavesNothingBehind) {
  EXPECT_FALSE(SUCCEEDED(QueryContextMenu(nullptr, 0, FirstId, FirstId + 50, CMF_NORMAL)));
}
