// Shows the Tarnwick submenu that Explorer would show for the given files, with its help texts, by creating
// the registered handler through COM and calling it as Explorer does.
#include "tools/ShellDataObject.h"

#include <ole2.h>
#include <shlobj.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// {5D3E8A41-7C2B-4F96-A1E0-3B9C6D2F8E17}
const CLSID HandlerClass = {0x5D3E8A41, 0x7C2B, 0x4F96, {0xA1, 0xE0, 0x3B, 0x9C, 0x6D, 0x2F, 0x8E, 0x17}};

struct TRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <class Interface>
using TRef = std::unique_ptr<Interface, TRelease>;

struct TMenuDeleter {
  void operator()(HMENU menu) const { ::DestroyMenu(menu); }
};
using TMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, TMenuDeleter>;

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
  if (HRESULT result = ::CoCreateInstance(HandlerClass, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
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
  if (HRESULT result = init->Initialize(nullptr, data.get(), nullptr); FAILED(result)) {
    std::printf("The handler refused the selection (0x%08lX).\n", static_cast<unsigned long>(result));
    return 1;
  }
  IContextMenu* found = nullptr;
  init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&found));
  TRef<IContextMenu> handler(found);
  TMenu menu(::CreatePopupMenu());
  HRESULT result = handler->QueryContextMenu(menu.get(), 0, FirstId, FirstId + 99, CMF_NORMAL);
  if (FAILED(result) || HRESULT_CODE(result) == 0) {
    std::printf("No Tarnwick submenu (0x%08lX).\n", static_cast<unsigned long>(result));
    return 0;
  }
  std::printf("Tarnwick\n");
  PrintMenu(*handler, ::GetSubMenu(menu.get(), 0));
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
