// The library's class identifiers: the classic context-menu handler, which registration writes and file-type
// associations name, and the Explorer command of Windows 11's first menu, which only the package names.
#pragma once

#include <windows.h>

namespace ContextM {

// {5D3E8A41-7C2B-4F96-A1E0-3B9C6D2F8E17}
inline constexpr GUID CLSID_TarnwickContextMenu = {
    0x5D3E8A41, 0x7C2B, 0x4F96, {0xA1, 0xE0, 0x3B, 0x9C, 0x6D, 0x2F, 0x8E, 0x17}};

// {9FDB44C9-40E9-4591-8AA9-74E0C5C3A20E}
inline constexpr GUID CLSID_TarnwickExplorerCommand = {
    0x9FDB44C9, 0x40E9, 0x4591, {0x8A, 0xA9, 0x74, 0xE0, 0xC5, 0xC3, 0xA2, 0x0E}};

}  // namespace ContextM
