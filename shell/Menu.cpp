// Builds the submenu from the command table, leaving out what the show rules rule out.
#include "Menu.h"

#include "CommandTable.h"
#include "ShowRules.h"
#include "com/ComBoundary.h"
#include "com/ModuleInstance.h"
#include "com/ThreadPrimitives.h"
#include "win32/Handles.h"

#include <shlobj.h>

#include <mutex>

namespace ContextM {

namespace {

ComObj::TSharedLock BitmapLock;
Win32::TBitmap Bitmap;

// The requests for less than a full menu: the default item only, verbs only, or no verbs.
constexpr UINT NarrowedMenuFlags = CMF_DEFAULTONLY | CMF_VERBSONLY | CMF_NOVERBS;

// A narrowed request gets nothing, unless the shell also sets CMF_EXPLORE.
bool WantsSubmenu(UINT flags) { return (flags & NarrowedMenuFlags) == 0 || (flags & CMF_EXPLORE) != 0; }

// Every command needs its own identifier: a host that grants fewer must not get ones it never handed out. Written
// without last - first + 1, which wraps for a range of every identifier.
bool GrantsEnoughIds(UINT idCmdFirst, UINT idCmdLast) {
  return idCmdLast >= idCmdFirst && idCmdLast - idCmdFirst >= ReservedCommandCount - 1;
}

// Positions are passed as fixed even when earlier items are left out: past the end, InsertMenu appends.
Win32::TMenu BuildPopup(UINT idCmdFirst, const TOptionValues& options, const TSelectedFiles& selection) {
  Win32::TMenu popup(::CreatePopupMenu());
  for (const TCommand* command : ShownCommands(options, selection)) {
    UINT id = idCmdFirst + OffsetOf(*command);
    if (command->Kind == TCommandKind::ckSeparator)
      ::InsertMenuA(popup.get(), command->Position, MF_BYPOSITION | MF_SEPARATOR, id, nullptr);
    else
      ::InsertMenuA(popup.get(), command->Position, MF_BYPOSITION | MF_STRING, id, command->Caption.c_str());
  }
  return popup;
}

}  // namespace

HBITMAP SubmenuBitmap() {
  std::lock_guard lock(BitmapLock);
  if (!Bitmap) Bitmap.reset(::LoadBitmapA(ComObj::ModuleInstance(), "ICON1"));
  return Bitmap.get();
}

void ReleaseSubmenuBitmap() noexcept {
  std::lock_guard lock(BitmapLock);
  Bitmap.reset();
}

// Options that cannot be read give E_UNEXPECTED and no menu: nothing is offered from half-read options.
// A short range is refused as a narrowed request is: nothing read, nothing added.
HRESULT QueryContextMenu(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast, UINT flags) noexcept {
  return ComObj::CallBoundary([&]() -> HRESULT {
    if (!WantsSubmenu(flags) || !GrantsEnoughIds(idCmdFirst, idCmdLast)) return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    TOptionValues options = ReadOptions();
    TSelection selection = SelectedFiles();
    if (!selection) return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);

    Win32::TMenu popup = BuildPopup(idCmdFirst, options, *selection);
    if (!::InsertMenuA(menu, indexMenu, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()), "Tarnwick"))
      return ComObj::LastErrorResult();
    popup.release();  // the shell's menu owns it now
    HBITMAP bitmap = SubmenuBitmap();
    ::SetMenuItemBitmaps(menu, indexMenu, MF_BYPOSITION, bitmap, bitmap);
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, ReservedCommandCount);
  });
}

}  // namespace ContextM
