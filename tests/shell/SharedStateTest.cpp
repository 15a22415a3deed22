// The module-wide selection and options used by handler objects on several shell threads at once.
#include "shell/HelpText.h"
#include "shell/Menu.h"
#include "shell/Selection.h"
#include "support/DropFiles.h"
#include "support/Menus.h"
#include "support/Platform.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <atomic>
#include <set>
#include <thread>

using namespace ContextM;

TEST(SharedStateTest, ThreadsCaptureBuildAndReadWithoutTearingTheSelection) {
  Testing::TOptionsKey options;
  options.SetString("DecryptSec", "0");
  options.SetString("UnhideInst", "0");
  constexpr int Threads = 4, Rounds = 150;
  std::set<std::string> expected;
  for (int t = 0; t < Threads; ++t)
    expected.insert("Hide data in selected carrier: C:\\thread" + std::to_string(t) + ".bmp");
  std::atomic<int> torn{0}, unbuilt{0};

  auto work = [&](int t) {
    std::vector<std::string> paths(50, "C:\\thread" + std::to_string(t) + ".bmp");
    for (int round = 0; round < Rounds; ++round) {
      Testing::TDropFilesObject data(paths);
      CaptureSelection(&data);
      Testing::TShellMenu menu(0);
      if (QueryContextMenu(menu.get(), 0, 1, 100, CMF_NORMAL) != MAKE_HRESULT(SEVERITY_SUCCESS, 0, 10)) ++unbuilt;
      char text[400] = "";
      GetCommandString(7, GCS_HELPTEXTA, text, sizeof text);
      if (!expected.count(text)) ++torn;
    }
  };
  std::vector<std::thread> threads;
  for (int t = 0; t < Threads; ++t) threads.emplace_back(work, t);
  for (std::thread& thread : threads) thread.join();

  EXPECT_EQ(torn, 0);
  EXPECT_EQ(unbuilt, 0);
  SetSelectedFiles(nullptr);
}

TEST(SharedStateTest, SelectionReplacedWhileOtherThreadsReadIt) {
  constexpr int Rounds = 100000;
  std::atomic<int> torn{0};
  auto writer = [](char tag) {
    for (int round = 0; round < Rounds; ++round) SetSelectedFiles(MakeSelection(TPathList(3, std::string(40, tag))));
  };
  auto reader = [&] {
    for (int round = 0; round < Rounds; ++round) {
      TSelection selection = SelectedFiles();
      if (!selection) continue;
      const TNameList<char>& paths = selection->Paths;
      if (paths.size() != 3 || paths.front().find_first_not_of(paths.front()[0]) != std::string::npos) ++torn;
    }
  };
  std::thread a(writer, 'a'), b(writer, 'b'), c(reader), d(reader);
  a.join(), b.join(), c.join(), d.join();
  EXPECT_EQ(torn, 0);
  SetSelectedFiles(nullptr);
}
