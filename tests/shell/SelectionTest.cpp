// Selection capture from a data object of the tests' own and from the shell's own data object.
#include "shell/Selection.h"
#include "support/DropFiles.h"
#include "support/Platform.h"
#include "tools/ShellDataObject.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace ContextM;
using Testing::TDropFilesObject;
using Strings = std::vector<std::string>;

class SelectionTest : public ::testing::Test {
protected:
  void TearDown() override { SetSelectedFiles(nullptr); }

  HRESULT Capture(IDataObject* data) { return CaptureSelection(data); }
  static Strings Selected() {
    TSelection selection = SelectedFiles();
    return selection ? Strings(selection->Paths.begin(), selection->Paths.end()) : Strings{"(absent)"};
  }
  static std::vector<std::wstring> Unpassable() {
    const TNameList<wchar_t>& names = SelectedFiles()->Unpassable;
    return {names.begin(), names.end()};
  }
};

namespace {

// A block's header: the list's offset and the wide flag; the point and the client-area flag stay zero.
std::vector<char> Block(std::uint32_t listOffset, bool wide, const std::string& list) {
  std::string block(20, '\0');
  std::memcpy(block.data(), &listOffset, sizeof listOffset);
  block[16] = wide;
  block += list;
  return {block.begin(), block.end()};
}

}  // namespace

TEST_F(SelectionTest, ListsPathsInOrderWithDuplicatesAndHoldsNoReference) {
  TDropFilesObject data({"C:\\b.txt", "C:\\a.txt", "C:\\b.txt"});
  EXPECT_EQ(Capture(&data), S_OK);
  EXPECT_EQ(Selected(), (Strings{"C:\\b.txt", "C:\\a.txt", "C:\\b.txt"}));
  EXPECT_EQ(data.References(), 1u);
}

TEST_F(SelectionTest, NextCaptureReplacesNeverAdds) {
  TDropFilesObject first(Strings{"C:\\1", "C:\\2"}), second({"C:\\3"});
  Capture(&first);
  Capture(&second);
  EXPECT_EQ(Selected(), Strings{"C:\\3"});
}

// A capture fills again a selection it replaced once nothing holds it, and never one that is still held.
TEST_F(SelectionTest, ReusesOnlyAReplacedSelectionNobodyHolds) {
  using Wide = std::vector<std::wstring>;
  TDropFilesObject held(Wide{L"C:\\held.txt", L"C:\\\uFF02q\uFF02.txt"}), second(Wide{L"C:\\second.txt"}),
      third(Wide{L"C:\\third.txt"}), fourth(Wide{L"C:\\fourth one.txt", L"C:\\and more.txt"});
  Capture(&held);
  TSelection snapshot = SelectedFiles();
  Capture(&second);
  const TSelectedFiles* unheld = SelectedFiles().get();
  Capture(&third);
  Capture(&fourth);
  EXPECT_EQ(SelectedFiles().get(), unheld) << "the unheld selection was not reused";
  EXPECT_EQ(Selected(), (Strings{"C:\\fourth one.txt", "C:\\and more.txt"}));
  EXPECT_TRUE(SelectedFiles()->Unpassable.empty());
  EXPECT_EQ(Strings(snapshot->Paths.begin(), snapshot->Paths.end()), (Strings{"C:\\held.txt", "C:\\?q?.txt"}));
  EXPECT_EQ(snapshot->Unpassable.size(), 1u);
  snapshot = nullptr;
  Capture(&second);  // replaces fourth's object, which nobody holds
  Capture(&held);
  EXPECT_EQ(Selected(), (Strings{"C:\\held.txt", "C:\\?q?.txt"}));
  EXPECT_EQ(Unpassable(), Wide{L"C:\\\uFF02q\uFF02.txt"});
}

TEST_F(SelectionTest, EmptyListLeavesThePresentEmptySelectionAndGetDatasCode) {
  TDropFilesObject earlier({"C:\\old"}), data(Strings{});
  Capture(&earlier);
  data.GetDataResult = S_FALSE;  // a success code of the data object's own
  EXPECT_EQ(Capture(&data), S_FALSE);
  EXPECT_EQ(Selected(), Strings{});
}

TEST_F(SelectionTest, FailingDataObjectKeepsTheEarlierSelection) {
  TDropFilesObject earlier({"C:\\kept"}), failing({"C:\\x"});
  Capture(&earlier);
  failing.GetDataResult = DV_E_FORMATETC;
  EXPECT_EQ(Capture(&failing), DV_E_FORMATETC);
  EXPECT_EQ(Selected(), Strings{"C:\\kept"});
}

TEST_F(SelectionTest, NullDataObjectIsRefusedWithoutEffect) {
  EXPECT_EQ(Capture(nullptr), E_INVALIDARG);
  EXPECT_EQ(Selected(), Strings{"(absent)"});
}

TEST_F(SelectionTest, MediumThatIsNoGlobalMemoryIsNotReadAsAList) {
  TDropFilesObject earlier({"C:\\kept"}), wrong({"C:\\x"});
  Capture(&earlier);
  wrong.MediumType = TYMED_NULL;
  EXPECT_EQ(Capture(&wrong), DV_E_TYMED);
  EXPECT_EQ(Selected(), Strings{"C:\\kept"});
}

TEST_F(SelectionTest, LongPathsAreCapturedWhole) {
  std::string deep = "C:\\" + std::string(300, 'd') + "\\file.txt";
  std::string exact = "C:\\" + std::string(257, 'e');  // 260 characters: fills the usual buffer exactly
  std::string longer = "C:\\" + std::string(1000, 'f') + "\\" + std::string(1000, 'g') + ".twk";
  TDropFilesObject data({deep, "C:\\short", exact, longer});
  EXPECT_EQ(Capture(&data), S_OK);
  EXPECT_EQ(Selected(), (Strings{deep, "C:\\short", exact, longer}));
}

TEST_F(SelectionTest, WideNamesArePassedInTheSystemCodePage) {
  TDropFilesObject data(std::vector<std::wstring>{L"C:\\caf\u00E9.txt", L"C:\\plain.txt"});
  EXPECT_EQ(Capture(&data), S_OK);
  EXPECT_EQ(Selected(), (Strings{"C:\\caf\xE9.txt", "C:\\plain.txt"}));
}

TEST_F(SelectionTest, NameWithNoExactFormIsKeptButMarkedUnpassable) {
  // Best fit would make these C:\a\b.txt, C:\"x".txt and C:\a/b.txt: other paths than the user chose. None
  // of them exists, so there is no short form either.
  for (const wchar_t* name : {L"C:\\a\uFF3Cb.txt", L"C:\\\uFF02x\uFF02.txt", L"C:\\a\u2215b.txt", L"C:\\\u4E2D.txt"}) {
    TDropFilesObject data(std::vector<std::wstring>{L"C:\\fine.txt", name});
    EXPECT_EQ(Capture(&data), S_OK);
    Strings paths = Selected();
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0], "C:\\fine.txt");
    EXPECT_EQ(paths[1].find_first_of("\"/"), std::string::npos) << "no best fit: " << paths[1];
    EXPECT_EQ(Unpassable(), std::vector<std::wstring>{name});
  }
}

TEST_F(SelectionTest, SingleByteNameWithAQuoteIsUnpassable) {
  TDropFilesObject data(Strings{"C:\\a.txt", "C:\\x\" /s \"C:\\y"});
  EXPECT_EQ(Capture(&data), S_OK);
  EXPECT_EQ(Unpassable(), std::vector<std::wstring>{L"C:\\x\" /s \"C:\\y"});
}

// The quote is looked for eight bytes at a time: at every place within and across those steps, and beside bytes
// that differ from it by one bit or by one in value.
TEST_F(SelectionTest, WideNameWithAQuoteAnywhereIsUnpassable) {
  const std::wstring base = L"C:\\folder\\subfolder\\names!#.txt";
  for (std::size_t at = 0; at <= base.size(); ++at) {
    std::wstring quoted = base;
    quoted.insert(at, 1, L'"');
    TDropFilesObject data(std::vector<std::wstring>{base, quoted});
    EXPECT_EQ(Capture(&data), S_OK);
    EXPECT_EQ(Unpassable(), std::vector<std::wstring>{quoted}) << "quote at " << at;
  }
  TDropFilesObject nearMisses(std::vector<std::wstring>{L"C:\\!#\xA2\x02!#\xA2\x02!#\xA2\x02.txt"});
  EXPECT_EQ(Capture(&nearMisses), S_OK);
  EXPECT_TRUE(SelectedFiles()->Unpassable.empty());
}

TEST_F(SelectionTest, MalformedBlocksAreRefusedAndLeaveNoSelection) {
  const std::vector<char> blocks[] = {
      Block(20, false, std::string("C:\\a.txt\0C:\\b.txt", 17)),  // no empty name ends the list
      Block(20, false, "C:\\a.txt"),                              // not even the name's NUL
      Block(4000, false, std::string("C:\\a.txt\0\0", 10)),       // the list starts past the end
      Block(8, false, std::string("C:\\a.txt\0\0", 10)),          // the list starts inside the header
      Block(20, true, std::string("C\0:\0\\\0a\0\0\0", 11)),      // a wide list cut inside its end
      std::vector<char>(12, '\0'),                                // shorter than a header
  };
  for (const std::vector<char>& block : blocks) {
    TDropFilesObject earlier({"C:\\earlier.txt"});
    Capture(&earlier);
    TDropFilesObject data(block);
    EXPECT_EQ(Capture(&data), E_INVALIDARG);
    EXPECT_EQ(Selected(), Strings{"(absent)"});
  }
}

TEST_F(SelectionTest, WellFormedBlocksAtAnyOffsetAreRead) {
  // An odd offset, and a list followed by bytes that are no names.
  TDropFilesObject ansi(Block(21, false,
                              std::string("\x7F"
                                          "C:\\a.txt\0C:\\b\0\0junk",
                                          20)));
  EXPECT_EQ(Capture(&ansi), S_OK);
  EXPECT_EQ(Selected(), (Strings{"C:\\a.txt", "C:\\b"}));
  TDropFilesObject wide(Block(21, true,
                              std::string("\x7F"
                                          "C\0:\0\\\0a\0\0\0\0\0",
                                          13)));
  EXPECT_EQ(Capture(&wide), S_OK);
  EXPECT_EQ(Selected(), Strings{"C:\\a"});
}

TEST_F(SelectionTest, ShellDataObjectForRealFilesAndFolders) {
  Testing::TTempFolder folder;
  std::string a = folder.File("a.txt"), b = folder.File("b b.twk");
  std::string sub = folder.Folder("sub");
  Win32::TComRef<IDataObject> data = Tools::ShellDataObject(folder.Path().wstring(), {L"a.txt", L"sub", L"b b.twk"});
  ASSERT_TRUE(data);
  EXPECT_EQ(Capture(data.get()), S_OK);
  EXPECT_EQ(Selected(), (Strings{a, sub, b}));
}
