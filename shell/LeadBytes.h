// The handler's walk through double-byte text: the one in win32/, platform-free.
#pragma once

#include "win32/LeadBytes.h"

namespace ContextM {

using Win32::CharacterLength;
using Win32::TLeadBytes;

}  // namespace ContextM
