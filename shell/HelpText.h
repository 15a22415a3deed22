// Status-bar help texts for the submenu's items.
#pragma once

#include "Selection.h"

#include <windows.h>

#include <optional>
#include <string>

namespace ContextM {

// The help text of an offset for a selection, which may be absent; none for separators and offsets above 9.
std::optional<std::string> HelpTextOf(UINT_PTR offset, const TSelectedFiles* selection);

// Answers IContextMenu::GetCommandString; only ANSI help-text requests are answered.
HRESULT GetCommandString(UINT_PTR offset, UINT type, char* buffer, UINT bufferSize) noexcept;

}  // namespace ContextM
