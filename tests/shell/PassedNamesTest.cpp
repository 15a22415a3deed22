// What the main application receives for names that best fit, a lost character or a trailing backslash
// would change: real files through the shell's own data object, started as a real program.
#include "shell/Launch.h"
#include "shell/Menu.h"
#include "shell/Selection.h"
#include "support/DropFiles.h"
#include "support/Menus.h"
#include "support/Platform.h"
#include "tools/ShellDataObject.h"

#include <gtest/gtest.h>

#include <shellapi.h>

using namespace ContextM;
using Strings = std::vector<std::string>;
using WideStrings = std::vector<std::wstring>;

namespace {

std::wstring CreateWideFile(const Testing::TTempFolder& folder, const std::wstring& name) {
  std::wstring path = (folder.Path() / name).wstring();
  Win32::TFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  EXPECT_TRUE(file) << "cannot create the test file";
  return path;
}

std::string ShortFormOf(const std::wstring& path) {
  wchar_t shortPath[MAX_PATH];
  DWORD length = ::GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  return std::string(shortPath, shortPath + length);  // short names are plain ASCII
}

HRESULT CaptureFromShell(const Testing::TTempFolder& folder, const WideStrings& names) {
  Win32::TComRef<IDataObject> data = Tools::ShellDataObject(folder.Path().wstring(), names);
  return data ? CaptureSelection(data.get()) : E_FAIL;
}

}  // namespace

class PassedNamesTest : public ::testing::Test {
protected:
  void SetUp() override { Options.SetString("ExeName", StandIn.ExePath()); }
  void TearDown() override { SetSelectedFiles(nullptr); }

  HRESULT Invoke(UINT offset, DWORD mask = 0) {
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof info;
    info.fMask = mask;
    info.lpVerb = MAKEINTRESOURCEA(offset);
    info.nShow = SW_SHOWNORMAL;
    return InvokeCommand(&info);
  }

  Testing::TOptionsKey Options;
  Testing::TTempFolder Folder{"tarnctx-names"};
  Testing::TStandIn StandIn{Folder, "main.exe"};
  Testing::TMessageBoxWatcher Boxes;
};

TEST_F(PassedNamesTest, NamesBestFitWouldChangeOrLoseReachTheProgramByTheirShortForms) {
  const WideStrings names = {
      L"a\uFF02 \uFF02 \uFF02b.txt",                // full-width quotes: best fit makes real ones
      L"c\uFF3C..\uFF3Cd.txt",                      // full-width backslashes
      L"e\u2215f.txt",                              // a division slash
      L"\u043F\u0440\u0438\u0432\u0435\u0442.txt",  // Cyrillic
      L"\u4E2D\u6587.twk",                          // Chinese
  };
  Strings expected = {"/s"};
  for (const std::wstring& name : names) expected.push_back(ShortFormOf(CreateWideFile(Folder, name)));

  ASSERT_EQ(CaptureFromShell(Folder, names), S_OK);
  EXPECT_EQ(Invoke(6), S_OK);
  Testing::TRecordedLaunch launch = StandIn.Wait();
  ASSERT_TRUE(launch.Started);
  EXPECT_EQ(launch.Arguments, expected);
  for (std::size_t i = 1; i < expected.size(); ++i) {
    EXPECT_EQ(expected[i].find('?'), std::string::npos) << expected[i];
    EXPECT_NE(::GetFileAttributesA(expected[i].c_str()), INVALID_FILE_ATTRIBUTES) << "names the file: " << expected[i];
  }
  EXPECT_TRUE(Boxes.Boxes().empty());
}

TEST_F(PassedNamesTest, NamesTheCodePageHoldsKeepTheirBytes) {
  std::string plain = Folder.File("plain.txt"), blank = Folder.File("b b.twk");
  CreateWideFile(Folder, L"caf\u00E9.bmp");
  std::string accented = Folder.Path().string() + "\\caf\xE9.bmp";  // code page 1252
  ASSERT_EQ(CaptureFromShell(Folder, {L"plain.txt", L"b b.twk", L"caf\u00E9.bmp"}), S_OK);
  EXPECT_EQ(Invoke(3), S_OK);
  Testing::TRecordedLaunch launch = StandIn.Wait();
  EXPECT_EQ(launch.CommandLine, StandIn.ExePath() + " /e \"" + plain + "\" \"" + blank + "\" \"" + accented + "\" ");
  EXPECT_EQ(launch.Arguments, (Strings{"/e", plain, blank, accented}));
}

TEST_F(PassedNamesTest, TrailingBackslashesDoNotSwallowTheNextPath) {
  std::string file = Folder.File("after.txt");
  Testing::TDropFilesObject data(Strings{"C:\\", Folder.Path().string() + "\\\\", file});
  ASSERT_EQ(CaptureSelection(&data), S_OK);
  EXPECT_EQ(Invoke(6), S_OK);
  Testing::TRecordedLaunch launch = StandIn.Wait();
  EXPECT_EQ(launch.Arguments, (Strings{"/s", "C:\\", Folder.Path().string() + "\\\\", file}));
}

TEST_F(PassedNamesTest, DriveRootFromTheShellReachesTheProgramUnchanged) {
  Win32::TComRef<IDataObject> data = Tools::ShellDataObject(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", {L"C:\\"});
  ASSERT_TRUE(data) << "the shell knows the drive";
  ASSERT_EQ(CaptureSelection(data.get()), S_OK);
  const TNameList<char>& paths = SelectedFiles()->Paths;
  ASSERT_EQ(Strings(paths.begin(), paths.end()), Strings{"C:\\"});
  EXPECT_EQ(Invoke(0), S_OK);
  Testing::TRecordedLaunch launch = StandIn.Wait();
  EXPECT_EQ(launch.CommandLine, StandIn.ExePath() + " /h \"C:\\\\\" ");
  EXPECT_EQ(launch.Arguments, (Strings{"/h", "C:\\"}));
}

TEST_F(PassedNamesTest, NameWithNoShortFormBuildsTheMenuButStartsNothing) {
  // It does not exist, so the system has no short name for it.
  Testing::TDropFilesObject data(WideStrings{L"C:\\fine.txt", L"C:\\gone\\\u4E2D\u6587.txt"});
  ASSERT_EQ(CaptureSelection(&data), S_OK);
  Testing::TShellMenu menu(0);
  EXPECT_EQ(QueryContextMenu(menu.get(), 0, 1, 100, CMF_NORMAL), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 10));

  EXPECT_EQ(Invoke(6), S_OK);
  EXPECT_FALSE(StandIn.Wait(500).Started);
  EXPECT_EQ(SelectedFiles(), nullptr) << "the selection is spent";
  ASSERT_EQ(Boxes.Boxes().size(), 1u);
  EXPECT_EQ(Boxes.Boxes()[0].Caption, "Error");
  EXPECT_NE(Boxes.Boxes()[0].Text.find("Tarnwick cannot be given this file"), std::string::npos);
  EXPECT_NE(Boxes.Boxes()[0].Text.find("C:\\gone\\"), std::string::npos) << Boxes.Boxes()[0].Text;
}

TEST_F(PassedNamesTest, CallerThatAskedForNoInterfaceGetsFailuresInsteadOfBoxes) {
  Testing::TDropFilesObject unpassable(WideStrings{L"C:\\gone\\\u4E2D.txt"});
  ASSERT_EQ(CaptureSelection(&unpassable), S_OK);
  EXPECT_EQ(Invoke(6, CMIC_MASK_FLAG_NO_UI), HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION));
  EXPECT_EQ(SelectedFiles(), nullptr);

  Testing::TDropFilesObject fine(Strings{"C:\\a.txt"});
  Options.SetString("ExeName", "C:\\no\\such\\main.exe");
  ASSERT_EQ(CaptureSelection(&fine), S_OK);
  HRESULT missing = Invoke(6, CMIC_MASK_FLAG_NO_UI);
  EXPECT_TRUE(FAILED(missing)) << std::hex << missing;
  EXPECT_EQ(SelectedFiles(), nullptr) << "the selection is spent";

  Options.SetDword("ExeName", 1);
  ASSERT_EQ(CaptureSelection(&fine), S_OK);
  EXPECT_EQ(Invoke(6, CMIC_MASK_FLAG_NO_UI), E_UNEXPECTED);
  EXPECT_NE(SelectedFiles(), nullptr) << "an unreadable path keeps the selection";

  EXPECT_FALSE(StandIn.Wait(300).Started);
  EXPECT_TRUE(Boxes.Boxes().empty());
}

TEST_F(PassedNamesTest, WideNamesGivenDirectlyFollowTheCapturesRule) {
  // What a shell item array hands over: the same names by the same rule as the shell's own data object's.
  const WideStrings names = {L"plain.txt", L"caf\u00E9.bmp", L"\u4E2D\u6587.twk", L"q\uFF02.txt"};
  for (const std::wstring& name : names) CreateWideFile(Folder, name);
  WideStrings paths = {L"C:\\gone\\\u4E2D.txt"};  // no such file, so no short form
  for (const std::wstring& name : names) paths.push_back((Folder.Path() / name).wstring());
  ASSERT_EQ(CaptureFromShell(Folder, names), S_OK);
  TSelection captured = SelectedFiles();

  std::vector<std::wstring_view> views(paths.begin(), paths.end());
  TSelection given = SelectionFromWideNames(views);
  Strings capturedPaths(captured->Paths.begin(), captured->Paths.end());
  Strings givenPaths(given->Paths.begin(), given->Paths.end());
  ASSERT_EQ(givenPaths.size(), paths.size());
  EXPECT_EQ(Strings(givenPaths.begin() + 1, givenPaths.end()), capturedPaths);
  EXPECT_EQ(givenPaths[3], ShortFormOf(paths[3]));
  EXPECT_EQ(WideStrings(given->Unpassable.begin(), given->Unpassable.end()), WideStrings{paths[0]});
  EXPECT_TRUE(captured->Unpassable.empty());
}

TEST_F(PassedNamesTest, LaunchOfASelectionPassedInLeavesTheModuleWideOneAlone) {
  std::string file = Folder.File("given.txt");
  std::wstring wide(file.begin(), file.end());
  std::wstring_view view = wide;
  TSelection given = SelectionFromWideNames({&view, 1});
  Testing::TDropFilesObject data(Strings{"C:\\module.txt"});
  ASSERT_EQ(CaptureSelection(&data), S_OK);
  TSelection moduleWide = SelectedFiles();

  TLaunchSite quiet{nullptr, SW_SHOWNORMAL, false};
  EXPECT_EQ(LaunchCommand(*FindItem(3), *given, StandIn.ExePath(), quiet), S_OK);
  EXPECT_EQ(StandIn.Wait().Arguments, (Strings{"/e", file}));
  EXPECT_EQ(SelectedFiles(), moduleWide);

  std::wstring_view unpassable = L"C:\\gone\\\u4E2D.txt";
  TSelection refused = SelectionFromWideNames({&unpassable, 1});
  EXPECT_EQ(LaunchCommand(*FindItem(3), *refused, StandIn.ExePath(), quiet),
            HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION));
  EXPECT_FALSE(StandIn.Wait(300).Started);
  EXPECT_TRUE(Boxes.Boxes().empty());
}
