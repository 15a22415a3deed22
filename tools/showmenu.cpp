// Shows the Tarnwick submenu that Explorer would show for the given files, with its help texts, by creating
// the registered handler through COM and calling it as Explorer does.
#include "com/Resource.h"
#include "shell/HandlerClass.h"
#include "tools/ShellDataObject.h"

#include <ole2.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

template <class Interface>
using TRef = ComObj::TComRef<Interface>;

constexpr UINT FirstId = 1000;

void PrintMenu(IContextMenu& handler, HMENU menu) {
  for (int position = 0; position < ::GetMenuItemCount(menu); ++position) {
    char caption[256] = "";
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    info.dwTypeData = caption;
    info.cch = sizeof caption;
    ::GetMenuItemInfoA(menu, position, TRUE, &info);
    if (info.fType & MFT_SEPARATOR) {
      std::printf("    ----------------\n");
      continue;
    }
    char help[512] = "";
    handler.GetCommandString(info.wID - FirstId, GCS_HELPTEXTA, nullptr, help, sizeof help);
    std::printf("    %-26s %s\n", caption, help);
  }
}

int Show(const std::wstring& folder, const std::vector<std::wstring>& names) {
  IShellExtInit* created = nullptr;
  if (HRESULT result = ::CoCreateInstance(ContextM::CLSID_TarnwickContextMenu, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                                          reinterpret_cast<void**>(&created));
      FAILED(result)) {
    std::printf("The Tarnwick handler is not registered (0x%08lX).\n", static_cast<unsigned long>(result));
    return 1;
  }
  TRef<IShellExtInit> init(created);
  TRef<IDataObject> data(Tools::ShellDataObject(folder, names));
  if (!data) {
    std::printf("The shell does not know these files.\n");
    return 1;
  }
  if (HRESULT result = init.get()->Initialize(nullptr, data.get(), nullptr); FAILED(result)) {
    std::printf("The handler refused the selection (0x%08lX).\n", static_cast<unsigned long>(result));
    return 1;
  }
  IContextMenu* found = nullptr;
  init.get()->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&found));
  TRef<IContextMenu> handler(found);
  ComObj::TMenu menu(::CreatePopupMenu());
  HRESULT result = handler.get()->QueryContextMenu(menu.get(), 0, FirstId, FirstId + 99, CMF_NORMAL);
  if (FAILED(result) || HRESULT_CODE(result) == 0) {
    std::printf("No Tarnwick submenu (0x%08lX).\n", static_cast<unsigned long>(result));
    return 0;
  }
  std::printf("Tarnwick\n");
  PrintMenu(*handler.get(), ::GetSubMenu(menu.get(), 0));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::printf("usage: showmenu FOLDER NAME...\n");
    return 2;
  }
  ::OleInitialize(nullptr);
  int result = Show(argv[1], std::vector<std::wstring>(argv + 2, argv + argc));
  ::CoFreeUnusedLibrariesEx(0, 0);
  ::OleUninitialize();
  return result;
}
