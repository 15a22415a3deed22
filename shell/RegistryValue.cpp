// Only the text types are accepted; the terminator and whatever an embedded NUL hides are dropped.
#include "RegistryValue.h"

#include <algorithm>

namespace ContextM {

std::optional<std::string> StringValue(std::uint32_t type, std::span<const std::byte> data) {
  if (type != RegistryString && type != RegistryExpandString) return std::nullopt;
  auto end = std::find(data.begin(), data.end(), std::byte{0});
  std::string text(static_cast<std::size_t>(end - data.begin()), '\0');
  std::transform(data.begin(), end, text.begin(), [](std::byte b) { return static_cast<char>(b); });
  return text;
}

}  // namespace ContextM
