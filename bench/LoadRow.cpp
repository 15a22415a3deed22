// Loading the library and creating its handler through COM, then releasing it and letting COM unload the
// library, against the same for the benchmark's minimal COM library.
#include "Rows.h"
#include "minimal/MinimalClass.h"
#include "shell/Identities.h"

#include <stdexcept>

namespace Bench {

namespace {

TBlock LoadCreateRelease(const GUID& classId, const std::wstring& library, int& loads) {
  return [classId, library, &loads](int repeats) {
    double seconds = Timed([&] {
      for (int i = 0; i < repeats; ++i) {
        CreateHandler(classId);  // released at once
        ::CoFreeUnusedLibrariesEx(0, 0);
      }
    });
    // A library that stayed loaded would make every later call a mere creation.
    if (IsLoaded(library)) throw std::runtime_error("a released library stayed loaded");
    loads += repeats;
    return seconds;
  };
}

// The index TlsAlloc would hand out next: it moves up when a load keeps one.
DWORD NextFreeTlsIndex() {
  DWORD index = ::TlsAlloc();
  ::TlsFree(index);
  return index;
}

}  // namespace

void MeasureLoading(TReport& report, const TConfig& config, const TPaths& paths) {
  ::CoFreeUnusedLibrariesEx(0, 0);
  if (IsLoaded(paths.Library) || IsLoaded(paths.Minimal))
    throw std::runtime_error("a library is loaded before its loading is measured");
  TPlan plan = config.Fast;
  plan.Rounds = config.LoadRounds;
  int loads = 0, minimalLoads = 0;
  TBlock ours = LoadCreateRelease(ContextM::CLSID_TarnwickContextMenu, paths.Library, loads);
  TBlock floor = LoadCreateRelease(CLSID_MinimalHandler, paths.Minimal, minimalLoads);
  // COM takes what it keeps for the process at its first loads; only what the later loads keep counts.
  ours(1);
  floor(1);
  loads = 0;
  DWORD freeIndex = NextFreeTlsIndex();
  TRatio ratio = Compare(plan, ours, floor);
  report.AddRatio("Load + create through COM (and unload)", ratio, 1.2);
  // Explorer unloads idle handlers and loads them again: an index kept per load ends the process at about 1,000.
  long long kept = static_cast<long long>(NextFreeTlsIndex()) - static_cast<long long>(freeIndex);
  report.Add(
      {Grouped(loads) + " loads and unloads: TLS indexes kept", (kept >= 0 ? "+" : "") + std::to_string(kept), "+0",
       kept <= 0 ? TRow::TVerdict::Meets : TRow::TVerdict::Miss,
       "next free index " + std::to_string(freeIndex) + " before, " + std::to_string(freeIndex + kept) + " after"});
  report.Note(
      "Load floor: the same CoCreateInstance, Release and CoFreeUnusedLibrariesEx(0, 0) for a minimal "
      "COM library of the benchmark's own (one class, its factory, two exports, same compiler and link "
      "flags, no exceptions or run-time type information).");
}

}  // namespace Bench
