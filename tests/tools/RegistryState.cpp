// Opens the subtree read-only and hands it to the shared tree reader.
#include "RegistryState.h"

#include <stdexcept>

namespace Testing {

TRegistryTree TreeAt(HKEY root, const std::string& path) {
  Win32::TRegKey key;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return {{"<missing>", {}}};
  return ReadTree(key.get());
}

void SetRegistryString(HKEY root, const std::string& path, const std::string& name, const std::string& value) {
  Win32::TRegKey key;
  if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
          ERROR_SUCCESS ||
      ::RegSetValueExA(key.get(), name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
    throw std::runtime_error("cannot write " + path);
}

}  // namespace Testing
