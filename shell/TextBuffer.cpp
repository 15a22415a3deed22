// The cut falls on a character boundary: half a double-byte character would show as another character.
#include "TextBuffer.h"

#include <algorithm>

namespace ContextM {

namespace {

std::size_t CutLength(std::string_view text, std::size_t room, const Win32::TLeadBytes& leadBytes) {
  if (text.size() <= room) return text.size();
  std::size_t length = 0;
  while (length < room) {
    std::size_t next = length + Win32::CharacterLength(text, length, leadBytes);
    if (next > room) break;
    length = next;
  }
  return length;
}

}  // namespace

bool CopyCut(std::string_view text, char* buffer, std::size_t bufferSize, const Win32::TLeadBytes& leadBytes) {
  if (bufferSize == 0) return false;
  std::size_t length = CutLength(text, bufferSize - 1, leadBytes);
  std::copy_n(text.data(), length, buffer);
  buffer[length] = '\0';
  return true;
}

}  // namespace ContextM
