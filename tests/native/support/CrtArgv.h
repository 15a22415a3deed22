// How a Windows program built with the Microsoft C runtime splits its command line into argv.
// The tests' own model of those rules, to read back what the handler hands to the program it starts.
#pragma once

#include "win32/LeadBytes.h"

#include <string>
#include <string_view>
#include <vector>

namespace NativeTesting {

// argv as the C runtime builds it from a narrow command line in a code page with these lead bytes.
// argv[0] follows the program-name rule: quotes only group, backslashes are plain characters.
// The rest: blanks and tabs separate; 2n backslashes and a quote give n backslashes and toggle quoting;
// 2n+1 backslashes and a quote give n backslashes and a literal quote; a quote doubled inside quotes is a
// literal quote; other backslashes are plain. A lead byte is copied together with the byte after it, so a
// trail byte is never read as a backslash, a quote or a blank. The line ends at its first NUL.
std::vector<std::string> SplitCommandLine(std::string_view line, const Win32::TLeadBytes& leadBytes);

}  // namespace NativeTesting
