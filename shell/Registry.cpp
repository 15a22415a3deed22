// String reads with the accessor's rules: absent is empty, only string types are accepted.
#include "Registry.h"

#include <cstring>
#include <vector>

namespace ContextM {

bool TRegistry::OpenKey(const std::string& path) {
  CloseKey();
  return ::RegOpenKeyExA(FRootKey, path.c_str(), 0, KEY_ALL_ACCESS, FCurrentKey.put()) == ERROR_SUCCESS;
}

std::string TRegistry::ReadString(const std::string& name) const {
  // With no key open the value reads as empty.
  if (!FCurrentKey) return {};
  // One request into a buffer that holds any usual value; only a longer value is asked for again at its size.
  // Each request is a round trip to the registry, and every right-click makes three of these reads.
  char fixed[256];
  std::vector<char> grown;
  char* data = fixed;
  DWORD type = REG_NONE, size = sizeof fixed;
  LONG result = ::RegQueryValueExA(FCurrentKey.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  if (result == ERROR_MORE_DATA) {
    grown.resize(size);
    data = grown.data();
    if (::RegQueryValueExA(FCurrentKey.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
        ERROR_SUCCESS)
      throw ERegistryException("Failed to get data for '" + name + "'");
  } else if (result != ERROR_SUCCESS) {
    return {};  // missing
  }
  if (size == 0) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryException("Invalid data type for '" + name + "'");
  // Up to the first NUL: drops the terminator and whatever an embedded NUL hides.
  return std::string(data, ::strnlen(data, size));
}

}  // namespace ContextM
