// Menu construction: the "Tarnwick" submenu inserted into the shell's context menu.
#pragma once

#include <windows.h>

namespace ContextM {

// Answers IContextMenu::QueryContextMenu: MAKE_HRESULT(0, 0, 10) when the submenu was added, 0 when not, as for a
// host that grants fewer than its ten command identifiers.
HRESULT QueryContextMenu(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast, UINT flags) noexcept;

// The submenu's bitmap, loaded once per module from the resource "ICON1".
HBITMAP SubmenuBitmap();
// Module unload releases it.
void ReleaseSubmenuBitmap() noexcept;

}  // namespace ContextM
