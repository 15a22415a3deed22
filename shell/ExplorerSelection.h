// The Explorer command's one coupling to the selection, help-text and launch functions: what it asks of them,
// for a selection made from a shell item array rather than the module-wide one, goes through here.
#pragma once

#include "CommandTable.h"
#include "Selection.h"
#include "Settings.h"
#include "ShowRules.h"

#include <shobjidl.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ContextM {

// The items' file-system paths in the array's order, at most `most` of them; items without one are left out, as
// from CF_HDROP. The state and a help text need only the first: asking for all would visit every item.
std::vector<std::wstring> FileSystemPaths(IShellItemArray* items, std::size_t most = SIZE_MAX);

// The items' paths converted as a captured selection's are; null without an array or a file-system path.
TSelection SelectionOfItems(IShellItemArray* items, std::size_t most = SIZE_MAX);

// What the classic submenu shows for this selection and these options, in its order.
TShownCommands ShownFor(const TOptionValues& options, const TSelection& selection);

// The command's help text, widened from the system code page; none for a separator.
std::optional<std::wstring> WideHelpTextOf(const TCommand& command, const TSelection& selection);

// Starts the command for a present selection as the classic InvokeCommand does, boxes owned by owner.
HRESULT LaunchForItems(const TCommand& command, const TSelection& selection, HWND owner);

}  // namespace ContextM
