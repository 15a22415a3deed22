// Opens the subtree read-only and hands it to the shared tree reader.
#include "RegistryState.h"

#include "win32/Registry.h"

#include <stdexcept>

namespace Testing {

TRegistryTree TreeAt(HKEY root, const std::string& path) {
  Win32::TRegKey key;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return {{"<missing>", {}}};
  return ReadTree(key.get());
}

void SetRegistryString(HKEY root, const std::string& path, const std::string& name, const std::string& value) {
  if (Win32::WriteStringValue(root, path, name, value) != ERROR_SUCCESS)
    throw std::runtime_error("cannot write " + path);
}

}  // namespace Testing
