// The benchmark's rows: what each measures, on the counts of a full or a quick run.
#pragma once

#include "Library.h"
#include "Report.h"
#include "Timing.h"

#include <cstddef>
#include <vector>

namespace Bench {

struct TConfig {
  bool Quick;
  TPlan Fast;                      // rows whose calls take microseconds to milliseconds
  std::size_t Files;               // the large selection of existing files
  std::vector<std::size_t> Names;  // Initialize's list lengths, smallest first
  int Cycles;                      // right-click cycles of the leak rows
  int WarmUpCycles;
  int LoadRounds;
};

TConfig FullConfig();
// Few rounds and small counts: proves every row runs, judges nothing.
TConfig QuickConfig();

// Loading the library and creating the handler through COM, against the minimal COM library. Needs the
// library unloaded, so it runs while no handler object lives.
void MeasureLoading(TReport& report, const TConfig& config, const TPaths& paths);
// QueryContextMenu for one file, and for the large selections of existing files and of existing folders.
void MeasureMenus(TReport& report, const TConfig& config, const Win32::TComRef<IShellExtInit>& handler);
// Initialize for each list length, and how its ratio grows with the length.
void MeasureInitialize(TReport& report, const TConfig& config, const Win32::TComRef<IShellExtInit>& handler);
// The Explorer command over shell item arrays: its state on the window thread, and its submenu against the
// classic handler's for the same selections.
void MeasureCommands(TReport& report, const TConfig& config, const TPaths& paths);
// Bitmap objects and memory over many complete right-clicks.
void MeasureCycles(TReport& report, const TConfig& config);
// Both architectures' release libraries: size, sections, largest contributors.
void ReportSizes(TReport& report, const TPaths& paths);

}  // namespace Bench
