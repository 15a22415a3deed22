#include "CodePage.h"

#include <windows.h>

namespace ContextM {

namespace {

TLeadBytes ReadLeadBytes() {
  TLeadBytes leadBytes;
  for (unsigned byte = 0; byte < leadBytes.size(); ++byte) leadBytes[byte] = ::IsDBCSLeadByte(static_cast<BYTE>(byte));
  return leadBytes;
}

}  // namespace

const TLeadBytes& SystemLeadBytes() {
  static const TLeadBytes leadBytes = ReadLeadBytes();
  return leadBytes;
}

}  // namespace ContextM
