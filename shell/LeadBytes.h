// Which bytes open a double-byte character: text in such a code page is walked by characters, not bytes.
#pragma once

#include <bitset>

namespace ContextM {

// None are set for a single-byte code page.
using TLeadBytes = std::bitset<256>;

}  // namespace ContextM
