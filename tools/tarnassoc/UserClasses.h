// HKEY_CLASSES_ROOT of this process redirected to the user's own classes, HKEY_CURRENT_USER\Software\Classes.
#pragma once

#include "tools/Registry.h"

namespace Assoc {

inline constexpr wchar_t UserClassesPath[] = L"Software\\Classes";

// While it lives, every write to HKEY_CLASSES_ROOT in this process, the loaded library's too, lands in the
// user's own classes: registration without administrator rights.
class TUserClassesRoot {
public:
  TUserClassesRoot();

private:
  Tools::TClassesRootRedirection FRedirection;
};

}  // namespace Assoc
