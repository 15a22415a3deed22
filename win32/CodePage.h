// The system code page's lead bytes, read once: the system code page does not change while the process runs.
#pragma once

#include "LeadBytes.h"

#include <windows.h>

namespace Win32 {

inline const TLeadBytes& SystemLeadBytes() {
  static const TLeadBytes leadBytes = [] {
    TLeadBytes bytes;
    for (unsigned byte = 0; byte < bytes.size(); ++byte) bytes[byte] = ::IsDBCSLeadByte(static_cast<BYTE>(byte));
    return bytes;
  }();
  return leadBytes;
}

}  // namespace Win32
