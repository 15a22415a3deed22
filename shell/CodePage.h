// The system code page, in which the handler holds paths and hands them on.
#pragma once

#include "LeadBytes.h"

namespace ContextM {

// Read once: the system code page does not change while the process runs.
const TLeadBytes& SystemLeadBytes();

}  // namespace ContextM
