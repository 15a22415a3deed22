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
  DWORD type = REG_NONE, size = 0;
  // With no key open the query fails and the value reads as empty.
  if (!FCurrentKey || ::RegQueryValueExA(FCurrentKey.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      size == 0)
    return {};
  std::vector<char> data(size);
  if (::RegQueryValueExA(FCurrentKey.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS)
    throw ERegistryException("Failed to get data for '" + name + "'");
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryException("Invalid data type for '" + name + "'");
  // Up to the first NUL: drops the terminator and whatever an embedded NUL hides.
  return std::string(data.data(), ::strnlen(data.data(), size));
}

}  // namespace ContextM
