// An Explorer command and its subcommands read back through IExplorerCommand, in the order a host chooses.
#pragma once

#include "win32/Handles.h"

#include <shobjidl.h>

#include <optional>
#include <string>
#include <vector>

namespace Host {

// Explorer asks in no fixed order; each order must give the same tree. Each state is asked for as Explorer
// does: first without file-system work, on the window thread, then, after E_PENDING, allowed to be slow.
enum class TCallOrder { coExplorer, coTitleFirst, coEnumFirst };

struct TCommandNode {
  Win32::TComRef<IExplorerCommand> Command;
  std::optional<std::wstring> Title;  // none when GetTitle gives none, as for a separator
  std::optional<std::wstring> Icon;   // the icon location
  std::optional<std::wstring> ToolTip;
  EXPCMDFLAGS Flags = 0;
  EXPCMDSTATE State = 0;
  HRESULT QuickState = S_OK;  // GetState's first answer, without file-system work: E_PENDING asks to be slow
  std::vector<TCommandNode> Children;
};

// Reads the command and, when it says it has them, its subcommands, each with the item array. A failing call
// raises EHostError ecCallFailed; E_NOTIMPL and S_FALSE leave the property empty.
TCommandNode ReadCommandTree(Win32::TComRef<IExplorerCommand> command, IShellItemArray* items, TCallOrder order);

// "submenu, icon 16, 20, 24, 32, 48, hidden" for the printed tree; the icon's sizes from its resource.
std::wstring NodeAttributes(const TCommandNode& node);

// The child that a path of titles names, such as "Tarnwick/Encrypt..."; null when there is none.
const TCommandNode* FindCommand(const TCommandNode& root, const std::wstring& titlePath);

}  // namespace Host
