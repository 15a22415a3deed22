// String reads with the accessor's rules: absent is empty, only string types are accepted.
#include "Registry.h"

#include "RegistryValue.h"

#include <algorithm>
#include <vector>

namespace ContextM {

bool TRegistry::OpenKey(const std::string& path) {
  CloseKey();
  return ::RegOpenKeyExA(FRootKey, path.c_str(), 0, KEY_READ, FCurrentKey.put()) == ERROR_SUCCESS;
}

std::string TRegistry::ReadString(const std::string& name) const {
  // With no key open the value reads as empty.
  if (!FCurrentKey) return {};
  // One request into a buffer that holds any usual value; only a longer value is asked for again at its size.
  // Each request is a round trip to the registry, and every right-click makes three of these reads.
  std::byte fixed[256];
  std::vector<std::byte> grown;
  std::byte* data = fixed;
  DWORD type = REG_NONE, size = sizeof fixed;
  LONG result =
      ::RegQueryValueExA(FCurrentKey.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
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
  std::optional<std::string> text = StringValue(type, std::span<const std::byte>(data, size));
  if (!text) throw ERegistryException("Invalid data type for '" + name + "'");
  return std::move(*text);
}

}  // namespace ContextM
