// Shows what the Tarnwick submenu offers for the given files, as Explorer would build it, with help texts.
#include "shell/HelpText.h"
#include "shell/Menu.h"
#include "shell/Selection.h"

#include <ole2.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The shell's own data object for files of one folder, as Explorer hands it to a handler.
IDataObject* ShellDataObject(const std::wstring& folder, const std::vector<std::wstring>& names) {
  IShellFolder* desktop = nullptr;
  IShellFolder* parent = nullptr;
  PIDLIST_RELATIVE folderId = nullptr;
  std::vector<PITEMID_CHILD> items;
  IDataObject* data = nullptr;
  ::SHGetDesktopFolder(&desktop);
  HRESULT result = desktop->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(folder.c_str()), nullptr,
                                             &folderId, nullptr);
  if (SUCCEEDED(result)) result = desktop->BindToObject(folderId, nullptr, IID_IShellFolder, (void**)&parent);
  for (const std::wstring& name : names) {
    PIDLIST_RELATIVE item = nullptr;
    if (SUCCEEDED(result))
      result = parent->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(name.c_str()), nullptr, &item, nullptr);
    if (SUCCEEDED(result)) items.push_back(static_cast<PITEMID_CHILD>(item));
  }
  if (SUCCEEDED(result))
    parent->GetUIObjectOf(nullptr, static_cast<UINT>(items.size()), const_cast<PCUITEMID_CHILD_ARRAY>(items.data()),
                          IID_IDataObject, nullptr, (void**)&data);
  for (PITEMID_CHILD item : items) ::CoTaskMemFree(item);
  ::CoTaskMemFree(folderId);
  if (parent) parent->Release();
  desktop->Release();
  return data;
}

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
  IDataObject* data = ShellDataObject(argv[1], std::vector<std::wstring>(argv + 2, argv + argc));
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
