// The class identifier of the benchmark's minimal COM library.
#pragma once

#include <windows.h>

namespace Bench {

// {B3C1E6F2-0D4A-4E8B-9F17-6A2D5C8E3B40}
inline constexpr GUID CLSID_MinimalHandler = {
    0xB3C1E6F2, 0x0D4A, 0x4E8B, {0x9F, 0x17, 0x6A, 0x2D, 0x5C, 0x8E, 0x3B, 0x40}};

}  // namespace Bench
