// Which bytes open a double-byte character, and the one way text in such a code page is walked: by characters.
// Free of the platform, so that the native tests and fuzzers walk text the way the library does.
#pragma once

#include <bitset>
#include <cstddef>
#include <string_view>

namespace Win32 {

// None are set for a single-byte code page.
using TLeadBytes = std::bitset<256>;

// The bytes of the character that starts at index: a lead byte takes its trail byte along, unless it is the
// text's last byte. A trail byte may equal a backslash, quote or full stop and must never be read as one.
inline std::size_t CharacterLength(std::string_view text, std::size_t index, const TLeadBytes& leadBytes) {
  return leadBytes[static_cast<unsigned char>(text[index])] && index + 1 < text.size() ? 2 : 1;
}

}  // namespace Win32
