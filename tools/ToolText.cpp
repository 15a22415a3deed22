// The tools' conversions, by the library's own.
#include "ToolText.h"

#include "win32/Text.h"

namespace Tools {

std::string Utf8(const std::wstring& text) { return Win32::Narrowed(text, CP_UTF8); }

std::wstring FromUtf8(const std::string& text) { return Win32::Widened(text, CP_UTF8); }

std::wstring FromAnsi(const std::string& text) { return Win32::Widened(text); }

}  // namespace Tools
