// The benchmark: tarnctx.dll's costs as ratios against floors of the benchmark's own, measured side by side in
// one process; the table goes to the console and to bench.txt (bench-quick.txt for --quick) in the build folder.
#include "Library.h"
#include "Options.h"
#include "Rows.h"
#include "shell/Identities.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace Bench;

namespace Bench {

TConfig FullConfig() {
  return {.Quick = false,
          .Fast = {.Rounds = 21, .MinRounds = 5, .BlockSeconds = 0.02, .BudgetSeconds = 30, .MaxRepeats = 1000},
          .Files = 10000,
          .Names = {3, 1000, 10000, 100000},
          .Cycles = 10000,
          .WarmUpCycles = 200,
          .LoadRounds = 21};
}

TConfig QuickConfig() {
  return {.Quick = true,
          .Fast = {.Rounds = 3, .MinRounds = 3, .BlockSeconds = 0.002, .BudgetSeconds = 5, .MaxRepeats = 100},
          .Files = 300,
          .Names = {3, 100, 300, 1000},
          .Cycles = 300,
          .WarmUpCycles = 20,
          .LoadRounds = 3};
}

}  // namespace Bench

namespace {

// Row groups a developer may pick with --only, e.g. --only menus,initialize.
struct TRowGroups {
  std::string Only;  // empty: every group
  bool Has(const char* group) const {
    return Only.empty() || ("," + Only + ",").find(std::string(",") + group + ",") != std::string::npos;
  }
};

void MeasureAll(TReport& report, const TConfig& config, const TPaths& paths, const TRowGroups& rows) {
  // Explorer holds these system libraries all along; without them here, every load of tarnctx.dll would also
  // load and unload the ones it imports (shell32 alone costs a millisecond under Wine).
  std::vector<Win32::TLibrary> shellProcess;
  for (const wchar_t* name :
       {L"shell32.dll", L"ole32.dll", L"oleaut32.dll", L"user32.dll", L"gdi32.dll", L"advapi32.dll"})
    shellProcess.emplace_back(::LoadLibraryW(name));
  THandlerRegistration handlerClass(paths.Library);
  TMinimalRegistration minimalClass(paths.Minimal);
  TOptions options;
  if (rows.Has("load")) MeasureLoading(report, config, paths);  // first: it needs the library unloaded
  {
    Win32::TComRef<IShellExtInit> handler = CreateHandler(ContextM::CLSID_TarnwickContextMenu);
    if (rows.Has("menus")) MeasureMenus(report, config, handler);
    if (rows.Has("initialize")) MeasureInitialize(report, config, handler);
  }
  if (rows.Has("commands")) MeasureCommands(report, config, paths);
  if (rows.Has("cycles")) MeasureCycles(report, config);
}

}  // namespace

int main(int argc, char** argv) {
  bool quick = false;
  TRowGroups rows;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quick") == 0)
      quick = true;
    else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc)
      rows.Only = argv[++i];
    else {
      std::fprintf(stderr, "usage: tarnctx_bench [--quick] [--only load,menus,initialize,commands,cycles,sizes]\n");
      return 2;
    }
  }
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  int result = 0;
  try {
    TPaths paths = FindPaths();
    TConfig config = quick ? QuickConfig() : FullConfig();
    std::printf(
        "tarnctx benchmark%s: ratios against floors measured side by side; a miss is a finding, not a "
        "failure\n\n",
        quick ? " (quick: small counts and few rounds, figures not judged)" : "");
    TReport report;
    MeasureAll(report, config, paths, rows);
    ::CoFreeUnusedLibrariesEx(0, 0);
    if (rows.Has("sizes")) ReportSizes(report, paths);
    std::string text = report.Text();
    std::printf("\n%s\n%d target(s) missed\n", text.c_str(), report.Misses());
    if (rows.Only.empty())
      std::ofstream(std::filesystem::path(paths.BuildFolder) / (quick ? "bench-quick.txt" : "bench.txt")) << text;
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "benchmark failed: %s\n", failure.what());
    result = 1;
  }
  ::CoUninitialize();
  return result;
}
