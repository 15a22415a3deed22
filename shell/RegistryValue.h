// Interprets a registry value by its type and bytes, as the options are read.
// Free of the platform: the value is plain bytes, so the rule can be checked and fuzzed anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace ContextM {

// The registry's type codes for text values.
inline constexpr std::uint32_t RegistryString = 1;        // REG_SZ
inline constexpr std::uint32_t RegistryExpandString = 2;  // REG_EXPAND_SZ, used unexpanded

// The text up to the first NUL, or all bytes when none ends it; none for a type that is not text.
std::optional<std::string> StringValue(std::uint32_t type, std::span<const std::byte> data);

}  // namespace ContextM
