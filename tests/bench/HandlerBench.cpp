// Right-click costs for large selections, reported as ratios against the platform's own floor.
// Each pair is measured alternately in one run, so that the machine's noise touches both alike.
#include "shell/Menu.h"
#include "shell/Selection.h"
#include "support/DropFiles.h"
#include "support/Menus.h"
#include "support/Platform.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace ContextM;

namespace {

double Seconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Compare(const char* name, const std::function<void()>& ours, const std::function<void()>& floor) {
  std::vector<double> oursTimes, floorTimes;
  for (int round = 0; round < 7; ++round) {
    floorTimes.push_back(Seconds(floor));
    oursTimes.push_back(Seconds(ours));
  }
  double o = Median(oursTimes), f = Median(floorTimes);
  std::printf("%-52s ours %9.3f ms  floor %9.3f ms  ratio %5.2f\n", name, o * 1e3, f * 1e3, o / f);
}

std::vector<std::string> Paths(int count, const std::string& folder, const char* extension) {
  std::vector<std::string> paths;
  for (int i = 0; i < count; ++i) paths.push_back(folder + "\\file" + std::to_string(i) + extension);
  return paths;
}

// The floor of capture: asking the dropped-file list for every name once.
void QueryEveryName(HDROP drop) {
  wchar_t name[MAX_PATH + 1];
  UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) ::DragQueryFileW(drop, i, name, MAX_PATH + 1);
}

// The floor of the decrypt rule: one directory search per path.
void SearchEveryPath(const std::vector<std::string>& paths) {
  WIN32_FIND_DATAA found;
  for (const std::string& path : paths)
    if (HANDLE search = ::FindFirstFileA(path.c_str(), &found); search != INVALID_HANDLE_VALUE) ::FindClose(search);
}

std::vector<std::wstring> Widened(const std::vector<std::string>& paths) {
  std::vector<std::wstring> wide;
  for (const std::string& path : paths) wide.emplace_back(path.begin(), path.end());  // ASCII only
  return wide;
}

void BenchCapture(int count) {
  auto paths = Widened(Paths(count, "C:\\Users\\someone\\Documents\\Tarnwick", ".txt"));
  Testing::TDropFilesObject data(paths);
  HGLOBAL list = Testing::MakeDropFiles(paths);
  std::string name = "capture of " + std::to_string(count) + " names";
  Compare(name.c_str(), [&] { CaptureSelection(&data); },
          [&] { QueryEveryName(static_cast<HDROP>(list)); });
  ::GlobalFree(list);
}

void BenchMenu(int count, const Testing::TTempFolder& folder) {
  // Missing files with another extension: the decrypt rule must search for every one of them.
  auto paths = Paths(count, folder.Path().string(), ".txt");
  SetSelectedFiles(MakeSelection(paths));
  std::string name = "menu for " + std::to_string(count) + " paths, all searched";
  Compare(name.c_str(),
          [&] {
            Testing::TShellMenu menu(0);
            QueryContextMenu(menu.get(), 0, 1, 100, CMF_NORMAL);
          },
          [&] { SearchEveryPath(paths); });
  SetSelectedFiles(nullptr);
}

}  // namespace

int main() {
  ::OleInitialize(nullptr);
  Testing::TOptionsKey options;  // both filters on, empty mask
  Testing::TTempFolder folder("tarnctx-bench");
  for (int count : {100, 1000, 3000}) BenchCapture(count);
  for (int count : {100, 1000, 3000}) BenchMenu(count, folder);
  ::OleUninitialize();
  return 0;
}
