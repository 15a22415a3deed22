// The class identifier of the context-menu handler: what registration writes and file-type associations name.
#pragma once

#include <windows.h>

namespace ContextM {

// {5D3E8A41-7C2B-4F96-A1E0-3B9C6D2F8E17}
inline constexpr GUID CLSID_TarnwickContextMenu = {
    0x5D3E8A41, 0x7C2B, 0x4F96, {0xA1, 0xE0, 0x3B, 0x9C, 0x6D, 0x2F, 0x8E, 0x17}};

}  // namespace ContextM
