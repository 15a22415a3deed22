// The rules that decide which of the submenu's items a selection and the options allow.
#pragma once

#include "Selection.h"
#include "Settings.h"

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

}  // namespace ContextM
