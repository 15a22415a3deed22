// The rules that decide which of the submenu's items a selection and the options allow.
#pragma once

#include "CommandTable.h"
#include "Selection.h"
#include "Settings.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace ContextM {

// From the last full stop to the end, upper-cased; empty when a backslash or colon comes after it, or none exists.
std::string ExtensionOf(std::string_view path);

// A directory search finds it, it is no directory, and its last-write time is a valid MS-DOS time.
bool IsExistingFile(const char* path);

// The first path's extension occurs in the mask; with the filter off, always.
bool CarrierRuleHolds(const TOptionValues& options, const TSelectedFiles& selection);

// No existing file of the selection has an extension other than .TWK; with the filter off, always.
bool DecryptRuleHolds(const TOptionValues& options, const TSelectedFiles& selection);

// The entries a submenu shows, in submenu order, separators included: never more than the table holds.
class TShownCommands {
public:
  void Add(const TCommand& command) noexcept { FEntries[FCount++] = &command; }
  const TCommand* const* begin() const noexcept { return FEntries.data(); }
  const TCommand* const* end() const noexcept { return FEntries.data() + FCount; }
  std::size_t size() const noexcept { return FCount; }

private:
  std::array<const TCommand*, ReservedCommandCount> FEntries{};
  std::size_t FCount = 0;
};

// What both menus show for these options and paths: the classic submenu and the Explorer command's children.
TShownCommands ShownCommands(const TOptionValues& options, const TSelectedFiles& selection);

}  // namespace ContextM
