// Complete right-clicks in a loop: the bitmap objects the library hands out and the process's memory, before
// and after.
#include "DropData.h"
#include "Rows.h"
#include "ShellMenus.h"
#include "shell/Identities.h"

#include <psapi.h>

#include <set>
#include <stdexcept>

namespace Bench {

namespace {

struct TMemory {
  long long HeapBytes = 0;  // busy blocks of every heap of the process, by the heaps' own walk
  long long WorkingSet = 0;
  long long CommitBytes = 0;  // private bytes: the commit charge (PrivateUsage, its other name, reads 0 under Wine)
};

TMemory MeasureMemory() {
  TMemory memory;
  std::vector<HANDLE> heaps(::GetProcessHeaps(0, nullptr) + 16);
  heaps.resize(::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
  for (HANDLE heap : heaps) {
    if (!::HeapLock(heap)) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (::HeapWalk(heap, &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) memory.HeapBytes += entry.cbData;
    ::HeapUnlock(heap);
  }
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters)) {
    memory.WorkingSet = static_cast<long long>(counters.WorkingSetSize);
    memory.CommitBytes = static_cast<long long>(counters.PagefileUsage);
  }
  return memory;
}

// What one run of cycles saw of the handles the library handed out.
struct THandedOut {
  std::set<HBITMAP> Bitmaps;
  int MenusLeft = 0;  // submenus still alive after their shell menu was destroyed
  int LiveBitmaps() const {
    int live = 0;
    for (HBITMAP bitmap : Bitmaps) live += ::GetObjectType(bitmap) == OBJ_BITMAP ? 1 : 0;
    return live;
  }
};

// Create, initialize, build the menu, destroy the menu, release: a right-click as Explorer makes it.
void RightClick(TDropData& data, THandedOut& seen) {
  Win32::TComRef<IShellExtInit> handler = CreateHandler(ContextM::CLSID_TarnwickContextMenu);
  if (handler->Initialize(nullptr, &data, nullptr) != S_OK) throw std::runtime_error("Initialize failed");
  Win32::TComRef<IContextMenu> menu = MenuOf(handler.get());
  HMENU submenu;
  {
    TShellMenus shell(1);
    menu->QueryContextMenu(shell[0], TShellMenus::Index, 100, 200, CMF_NORMAL);
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_CHECKMARKS | MIIM_SUBMENU;
    ::GetMenuItemInfoW(shell[0], TShellMenus::Index, TRUE, &item);
    for (HBITMAP bitmap : {item.hbmpUnchecked, item.hbmpChecked})
      if (bitmap) seen.Bitmaps.insert(bitmap);
    submenu = item.hSubMenu;
  }
  if (::IsMenu(submenu)) ++seen.MenusLeft;
}

std::string Growth(long long bytes) { return (bytes >= 0 ? "+" : "") + Grouped(bytes) + " B"; }

}  // namespace

void MeasureCycles(TReport& report, const TConfig& config) {
  TDropData data(SampleNames(1));
  THandedOut warmUp;
  for (int i = 0; i < config.WarmUpCycles; ++i) RightClick(data, warmUp);
  // Starts with what the warm-up saw, so that recording a handle seen before allocates nothing.
  THandedOut run{warmUp.Bitmaps, 0};
  TMemory before = MeasureMemory();
  for (int i = 0; i < config.Cycles; ++i) RightClick(data, run);
  TMemory after = MeasureMemory();

  std::string cycles = Grouped(config.Cycles) + " right-click cycles";
  constexpr long long Allowed = 64 * 1024;
  long long heapGrowth = after.HeapBytes - before.HeapBytes;
  long long commitGrowth = after.CommitBytes - before.CommitBytes;
  long long workingSetGrowth = after.WorkingSet - before.WorkingSet;
  auto judge = [](bool meets) { return meets ? TRow::TVerdict::Meets : TRow::TVerdict::Miss; };
  report.Add({cycles + ": private bytes", Growth(commitGrowth), "<= +64 KB",
              judge(commitGrowth <= Allowed && heapGrowth <= Allowed),
              "commit charge " + Grouped(before.CommitBytes) + " -> " + Grouped(after.CommitBytes) +
                  " B; busy heap blocks " + Growth(heapGrowth) + " (" + Grouped(before.HeapBytes) + " -> " +
                  Grouped(after.HeapBytes) + ")"});
  report.Add({cycles + ": working set", Growth(workingSetGrowth), "<= +64 KB", judge(workingSetGrowth <= Allowed),
              Grouped(before.WorkingSet) + " -> " + Grouped(after.WorkingSet) + " B"});
  int growth = run.LiveBitmaps() - warmUp.LiveBitmaps();
  std::set<HBITMAP> fresh;
  for (HBITMAP bitmap : run.Bitmaps)
    if (!warmUp.Bitmaps.count(bitmap)) fresh.insert(bitmap);
  report.Add({cycles + ": bitmap objects", (growth >= 0 ? "+" : "") + std::to_string(growth), "+0",
              judge(growth <= 0 && fresh.empty() && run.MenusLeft == 0),
              std::to_string(run.Bitmaps.size()) + " distinct handle(s) handed out, " +
                  std::to_string(run.LiveBitmaps()) + " alive (GetObjectType), " + std::to_string(fresh.size()) +
                  " new since the warm-up; " + std::to_string(run.MenusLeft) + " submenus outlived their menu"});
}

}  // namespace Bench
