// The Explorer command through the library, over shell item arrays of real files and folders made as Explorer
// makes them: its state on the window thread, and its submenu against the classic handler's for the same files.
#include "Rows.h"
#include "ScratchFolder.h"
#include "ShellMenus.h"
#include "shell/Identities.h"
#include "tools/ServerModule.h"
#include "tools/ShellDataObject.h"

#include <shobjidl.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace Bench {

namespace {

constexpr UINT FirstId = 100, LastId = 200;

// One right-click's selection as both menus receive it: the shell's data object for the classic handler, and
// the item array Explorer makes from it for the command.
struct TShellSelection {
  Win32::TComRef<IDataObject> Data;
  Win32::TComRef<IShellItemArray> Items;
};

TShellSelection ShellSelectionOf(const std::vector<std::wstring>& paths) {
  std::vector<std::wstring> names;
  for (const std::wstring& path : paths) names.push_back(std::filesystem::path(path).filename().wstring());
  TShellSelection selection;
  selection.Data = Tools::ShellDataObject(std::filesystem::path(paths.front()).parent_path().wstring(), names);
  if (!selection.Data ||
      FAILED(::SHCreateShellItemArrayFromDataObject(selection.Data.get(), IID_PPV_ARGS(selection.Items.put()))))
    throw std::runtime_error("the shell made no item array for the selection");
  return selection;
}

// The package registers the command's class, not DllRegisterServer: it comes from the loaded library's factory.
Win32::TComRef<IExplorerCommand> CreateCommand(const Tools::TServerModule& library) {
  Win32::TComRef<IClassFactory> factory;
  Win32::TComRef<IExplorerCommand> command;
  if (!library.GetClassObject ||
      FAILED(library.GetClassObject(ContextM::CLSID_TarnwickExplorerCommand, IID_PPV_ARGS(factory.put()))) ||
      FAILED(factory->CreateInstance(nullptr, IID_PPV_ARGS(command.put()))))
    throw std::runtime_error("the library made no Explorer command");
  return command;
}

// What Explorer asks to show the submenu: the root's title with the selection, its children, each one's title.
// Answers the number of children.
int ShowSubmenu(IExplorerCommand& root, IShellItemArray* items) {
  Win32::TCoTaskString title;
  root.GetTitle(items, title.put());
  Win32::TComRef<IEnumExplorerCommand> children;
  if (FAILED(root.EnumSubCommands(children.put()))) return 0;
  int count = 0;
  for (IExplorerCommand* child = nullptr; children->Next(1, &child, nullptr) == S_OK; ++count) {
    Win32::TComRef<IExplorerCommand> owned(child);
    Win32::TCoTaskString childTitle;
    owned->GetTitle(items, childTitle.put());
  }
  return count;
}

// The classic submenu's entries for the same selection, built once before anything is timed.
int ClassicEntries(IShellExtInit* handler, IContextMenu* menu, IDataObject* data) {
  TShellMenus one(1);
  if (handler->Initialize(nullptr, data, nullptr) != S_OK ||
      menu->QueryContextMenu(one[0], TShellMenus::Index, FirstId, LastId, CMF_NORMAL) != MAKE_HRESULT(0, 0, 10))
    throw std::runtime_error("the classic handler added no submenu");
  return ::GetMenuItemCount(::GetSubMenu(one[0], TShellMenus::Index));
}

void MeasureSubmenu(TReport& report, const TConfig& config, const Tools::TServerModule& library,
                    const std::string& name, const std::vector<std::wstring>& paths) {
  TShellSelection selection = ShellSelectionOf(paths);
  Win32::TComRef<IExplorerCommand> root = CreateCommand(library);
  Win32::TComRef<IShellExtInit> handler = CreateHandler(ContextM::CLSID_TarnwickContextMenu);
  Win32::TComRef<IContextMenu> menu = MenuOf(handler.get());
  if (ShowSubmenu(*root.get(), selection.Items.get()) !=
      ClassicEntries(handler.get(), menu.get(), selection.Data.get()))
    throw std::runtime_error("the command's submenu and the classic one differ for " + name);
  TBlock ours = [&](int repeats) {
    return Timed([&] {
      for (int i = 0; i < repeats; ++i) ShowSubmenu(*root.get(), selection.Items.get());
    });
  };
  TBlock classic = [&](int repeats) {
    TShellMenus menus(repeats);
    return Timed([&] {
      for (int i = 0; i < repeats; ++i) {
        handler->Initialize(nullptr, selection.Data.get(), nullptr);
        menu->QueryContextMenu(menus[i], TShellMenus::Index, FirstId, LastId, CMF_NORMAL);
      }
    });
  };
  report.AddRatio(name, Compare(config.Fast, ours, classic), 1.2);
}

// On the window thread the command must not touch the files. The floor asks the array for its count and holds
// it for the call, as the command must keep it for the enumeration; any work per item would show as a ratio in
// the thousands.
void MeasureQuickState(TReport& report, const TConfig& config, const Tools::TServerModule& library,
                       const std::string& name, const std::vector<std::wstring>& paths) {
  TShellSelection selection = ShellSelectionOf(paths);
  Win32::TComRef<IExplorerCommand> root = CreateCommand(library);
  IShellItemArray* items = selection.Items.get();
  EXPCMDSTATE state = ECS_HIDDEN;
  if (root->GetState(items, FALSE, &state) != E_PENDING || state != ECS_ENABLED)
    throw std::runtime_error("GetState on the window thread did not defer its answer");
  TBlock ours = [&](int repeats) {
    return Timed([&] {
      for (int i = 0; i < repeats; ++i) root->GetState(items, FALSE, &state);
    });
  };
  TBlock floor = [&](int repeats) {
    DWORD count = 0;
    return Timed([&] {
      for (int i = 0; i < repeats; ++i) {
        items->AddRef();
        items->GetCount(&count);
        items->Release();
      }
    });
  };
  // No work per item: on 10,000 folders even a nanosecond each would be a ratio in the thousands.
  report.AddRatio(name, Compare(config.Fast, ours, floor), 10);
}

}  // namespace

void MeasureCommands(TReport& report, const TConfig& config, const TPaths& paths) {
  Tools::TServerModule library(paths.Library);
  if (!library) throw std::runtime_error("cannot load the library for its Explorer command");
  TScratchFolder folder;
  std::string count = Grouped(static_cast<long long>(config.Files));
  std::vector<std::wstring> folders = folder.Make(L"folders", L"Album ", L"", config.Files, true);
  MeasureQuickState(report, config, library, "Explorer command GetState, quick, " + count + " folders", folders);
  MeasureSubmenu(report, config, library, "Explorer command submenu, 1 file",
                 folder.Make(L"one", L"archive", L".twk", 1, false));
  MeasureSubmenu(report, config, library, "Explorer command submenu, " + count + " folders", folders);
  report.Note(
      "Explorer command rows: shell item arrays made by SHCreateShellItemArrayFromDataObject over the shell's "
      "data object for real files and folders. GetState with okToBeSlow false against a floor that only "
      "calls the array's AddRef, GetCount and Release (a call that touched each item, let alone its file, "
      "would be thousands of times that); the submenu (the root's GetTitle with the array, EnumSubCommands, each "
      "child's GetTitle) against the classic handler's Initialize with the same data object and its "
      "QueryContextMenu.");
}

}  // namespace Bench
