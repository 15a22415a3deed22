// String reads with the accessor's rules: absent is empty, only string types are accepted.
#include "Registry.h"

#include "RegistryValue.h"

#include <algorithm>
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
  std::vector<std::byte> data(size);
  if (::RegQueryValueExA(FCurrentKey.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS)
    throw ERegistryException("Failed to get data for '" + name + "'");
  std::optional<std::string> text = StringValue(type, std::span(data).first(std::min<std::size_t>(size, data.size())));
  if (!text) throw ERegistryException("Invalid data type for '" + name + "'");
  return std::move(*text);
}

}  // namespace ContextM
