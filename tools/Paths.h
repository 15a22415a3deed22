// Paths as the tools show and hand them on: full, without a trailing backslash but a drive root's.
#pragma once

#include <string>

namespace Tools {

// The path made full against the current folder; the path as given when the system cannot.
std::wstring FullPath(const std::wstring& path);

}  // namespace Tools
