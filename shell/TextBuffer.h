// Copies a text into a caller's buffer of a given size, as help texts are handed to the shell.
// Free of the platform, so the bound can be checked and fuzzed anywhere.
#pragma once

#include "win32/LeadBytes.h"

#include <cstddef>
#include <string_view>

namespace ContextM {

// Cuts the text to the buffer, NUL included, never inside a double-byte character: nothing is written past
// bufferSize characters. False, with nothing written, for a buffer without room even for the NUL.
bool CopyCut(std::string_view text, char* buffer, std::size_t bufferSize, const Win32::TLeadBytes& leadBytes);

}  // namespace ContextM
