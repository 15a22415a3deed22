// The system code page, in which the handler holds paths and hands them on.
#pragma once

#include "LeadBytes.h"
#include "win32/CodePage.h"

namespace ContextM {

using Win32::SystemLeadBytes;

}  // namespace ContextM
