// Shows what the Tarnwick submenu offers for the given files, as Explorer would build it, with help texts.
#include "shell/HelpText.h"
#include "shell/Menu.h"
#include "shell/Selection.h"
#include "tools/ShellDataObject.h"

#include <ole2.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void PrintMenu(HMENU menu, UINT firstId) {
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
    ContextM::GetCommandString(info.wID - firstId, GCS_HELPTEXTA, help, sizeof help);
    std::printf("    %-26s %s\n", caption, help);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::printf("usage: showmenu FOLDER NAME...\n");
    return 2;
  }
  ::OleInitialize(nullptr);
  IDataObject* data = Tools::ShellDataObject(argv[1], std::vector<std::wstring>(argv + 2, argv + argc));
  if (!data) {
    std::printf("The shell does not know these files.\n");
    return 1;
  }
  std::wstring buffer;
  HRESULT captured = ContextM::CaptureSelection(data, buffer);
  data->Release();

  HMENU shellMenu = ::CreatePopupMenu();
  constexpr UINT FirstId = 1000;
  HRESULT result = SUCCEEDED(captured) ? ContextM::QueryContextMenu(shellMenu, 0, FirstId, FirstId + 99, CMF_NORMAL)
                                       : captured;
  if (HRESULT_CODE(result) != 10 || FAILED(result)) {
    std::printf("No Tarnwick submenu (0x%08lX).\n", static_cast<unsigned long>(result));
  } else {
    std::printf("Tarnwick\n");
    PrintMenu(::GetSubMenu(shellMenu, 0), FirstId);
  }
  ::DestroyMenu(shellMenu);
  ContextM::ReleaseSubmenuBitmap();
  ::OleUninitialize();
  return 0;
}
