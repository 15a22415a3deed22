// Status-bar help texts for the submenu's items.
#pragma once

#include "Selection.h"

#include <windows.h>

#include <optional>
#include <string>

namespace ContextM {

// The help text of an offset for a selection; none for separators and offsets above 9.
std::optional<std::string> HelpTextOf(UINT_PTR offset, const TSelection& selection);
// The same for the module-wide selection.
std::optional<std::string> HelpTextOf(UINT_PTR offset);

// Answers IContextMenu::GetCommandString; only ANSI help-text requests are answered.
HRESULT GetCommandString(UINT_PTR offset, UINT type, char* buffer, UINT bufferSize) noexcept;

}  // namespace ContextM
