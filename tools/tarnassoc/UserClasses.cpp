// RegOverridePredefKey, undone with a null key.
#include "UserClasses.h"

#include "AssocError.h"

namespace Assoc {

TUserClassesRoot::TUserClassesRoot() {
  CheckRegistry(::RegCreateKeyExW(HKEY_CURRENT_USER, UserClassesPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  FClasses.put(), nullptr),
                "Opening HKEY_CURRENT_USER\\Software\\Classes");
  CheckRegistry(::RegOverridePredefKey(HKEY_CLASSES_ROOT, FClasses.get()), "Redirecting HKEY_CLASSES_ROOT");
}

TUserClassesRoot::~TUserClassesRoot() { ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr); }

}  // namespace Assoc
