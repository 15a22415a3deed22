// Text conversions at the tools' edges: the platform speaks UTF-16 (and ANSI for older calls), the output UTF-8.
#pragma once

#include <string>

namespace Tools {

std::string Utf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
// A text in the system's ANSI code page, as ANSI help texts come back.
std::wstring FromAnsi(const std::string& text);

}  // namespace Tools
