// StringFromGUID2 into a buffer that always fits: 38 characters and the NUL.
#include "ClassText.h"

#include <objbase.h>

namespace Tools {

std::wstring ClassText(const CLSID& classId) {
  wchar_t text[40] = L"";
  ::StringFromGUID2(classId, text, ARRAYSIZE(text));
  return text;
}

}  // namespace Tools
