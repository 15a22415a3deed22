// A class identifier as the registry writes it.
#pragma once

#include <windows.h>

#include <string>

namespace Tools {

// "{5D3E8A41-7C2B-4F96-A1E0-3B9C6D2F8E17}"
std::wstring ClassText(const CLSID& classId);

}  // namespace Tools
