// A private HKEY_CLASSES_ROOT for registration tests, and the whole tree below a key read back.
#pragma once

#include "tools/Registry.h"

#include <windows.h>

#include <map>
#include <string>

namespace Testing {

// Redirects HKEY_CLASSES_ROOT of this process to a fresh private key, removed at the end.
class TRedirectedClassesRoot : public Tools::TClassesRootRedirection {
public:
  TRedirectedClassesRoot();
};

// Every key below a root, by path relative to it, with its string values by name ("" the default value).
using TRegistryTree = std::map<std::string, std::map<std::string, std::string>>;
TRegistryTree ReadTree(HKEY root);

}  // namespace Testing
