// QueryContextMenu through the library's COM object, against the menu floor and against directory searches.
#include "DropData.h"
#include "Floors.h"
#include "Rows.h"
#include "ScratchFolder.h"
#include "ShellMenus.h"

#include <stdexcept>
#include <string>

namespace Bench {

namespace {

constexpr UINT FirstId = 100, LastId = 200;

std::vector<std::string> Narrowed(const std::vector<std::wstring>& paths) {
  std::vector<std::string> narrow;
  for (const std::wstring& path : paths) {
    int size = ::WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, text.data(), size, nullptr, nullptr);
    text.pop_back();
    narrow.push_back(text);
  }
  return narrow;
}

void Capture(IShellExtInit* handler, const std::vector<std::wstring>& paths) {
  TDropData data(paths);
  if (handler->Initialize(nullptr, &data, nullptr) != S_OK) throw std::runtime_error("Initialize failed");
}

// The library's submenu for the captured selection, built once before anything is timed.
int HandlerEntries(IContextMenu* menu) {
  TShellMenus one(1);
  if (menu->QueryContextMenu(one[0], TShellMenus::Index, FirstId, LastId, CMF_NORMAL) != MAKE_HRESULT(0, 0, 10))
    throw std::runtime_error("QueryContextMenu added no submenu");
  return ::GetMenuItemCount(::GetSubMenu(one[0], TShellMenus::Index));
}

TBlock HandlerMenus(IContextMenu* menu) {
  return [menu](int repeats) {
    TShellMenus menus(repeats);
    return Timed([&] {
      for (int i = 0; i < repeats; ++i)
        menu->QueryContextMenu(menus[i], TShellMenus::Index, FirstId, LastId, CMF_NORMAL);
    });
  };
}

void MeasureOneFile(TReport& report, const TConfig& config, IShellExtInit* handler, const TScratchFolder& folder) {
  // A .twk file with .TWK in the carrier mask: all ten entries, and no directory search needed.
  Capture(handler, folder.Make(L"one", L"archive", L".twk", 1, false));
  Win32::TComRef<IContextMenu> menu = MenuOf(handler);
  if (HandlerEntries(menu.get()) != 10) throw std::runtime_error("the one-file submenu lacks entries");
  TMenuFloor floor;
  TBlock floorMenus = [&floor](int repeats) {
    TShellMenus menus(repeats);
    return Timed([&] {
      for (int i = 0; i < repeats; ++i) floor.Build(menus[i], TShellMenus::Index, FirstId);
    });
  };
  report.AddRatio("QueryContextMenu, 1 file", Compare(config.Fast, HandlerMenus(menu.get()), floorMenus), 1.2);
}

void MeasureSelection(TReport& report, const TConfig& config, IShellExtInit* handler, const std::string& name,
                      const std::vector<std::wstring>& paths) {
  Capture(handler, paths);
  Win32::TComRef<IContextMenu> menu = MenuOf(handler);
  HandlerEntries(menu.get());
  std::vector<std::string> narrow = Narrowed(paths);
  TBlock searches = [&narrow](int repeats) {
    return Timed([&] {
      for (int i = 0; i < repeats; ++i) SearchEvery(narrow);
    });
  };
  report.AddRatio(name, Compare(config.Fast, HandlerMenus(menu.get()), searches), 1.3);
}

}  // namespace

void MeasureMenus(TReport& report, const TConfig& config, const Win32::TComRef<IShellExtInit>& handler) {
  TScratchFolder folder;
  MeasureOneFile(report, config, handler.get(), folder);
  std::string count = Grouped(static_cast<long long>(config.Files));
  // Existing .twk files: the decrypt rule walks them all, and their extension spares each a search.
  MeasureSelection(report, config, handler.get(), "QueryContextMenu, " + count + " existing .twk files",
                   folder.Make(L"files", L"Scan ", L".twk", config.Files, false));
  // Existing folders: the walk searches every one, as the floor does.
  MeasureSelection(report, config, handler.get(), "QueryContextMenu, " + count + " existing folders",
                   folder.Make(L"folders", L"Album ", L"", config.Files, true));
  report.Note(
      "QueryContextMenu floors: for 1 file, one key open, three option reads, the submenu's ten inserts, its "
      "insert into the shell's menu and one bitmap handed over; for a selection, one FindFirstFile/FindClose "
      "per path.");
}

}  // namespace Bench
