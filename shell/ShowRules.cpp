// Extension matching and the existing-file test behind the carrier and decrypt rules.
#include "ShowRules.h"

#include "win32/CodePage.h"
#include "win32/Handles.h"

#include <algorithm>

namespace ContextM {

namespace {

bool IsDelimiter(char c) { return c == '.' || c == '\\' || c == ':'; }

// Walks by characters: in a double-byte code page a trail byte may equal a delimiter.
std::string_view::size_type LastDelimiterByCharacters(std::string_view path, const Win32::TLeadBytes& leadBytes) {
  std::string_view::size_type delimiter = std::string_view::npos;
  for (std::string_view::size_type i = 0; i < path.size(); i += Win32::CharacterLength(path, i, leadBytes))
    if (IsDelimiter(path[i])) delimiter = i;
  return delimiter;
}

bool IsShown(const TCommand& command, bool carrierRule, bool decryptRule) {
  switch (command.Shown) {
    case TShowRule::srCarrier: return carrierRule;
    case TShowRule::srDecrypt: return decryptRule;
    case TShowRule::srAlways: break;
  }
  return true;
}

}  // namespace

std::string ExtensionOf(std::string_view path) {
  const Win32::TLeadBytes& leadBytes = Win32::SystemLeadBytes();
  auto delimiter = leadBytes.any() ? LastDelimiterByCharacters(path, leadBytes) : path.find_last_of(".\\:");
  if (delimiter == std::string_view::npos || path[delimiter] != '.') return {};
  return UpperCase(std::string(path.substr(delimiter)));
}

bool IsExistingFile(const char* path) {
  WIN32_FIND_DATAA found;
  Win32::TFindHandle search(::FindFirstFileA(path, &found));
  if (!search || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  FILETIME local;
  WORD date, time;
  return ::FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) && ::FileTimeToDosDateTime(&local, &date, &time);
}

bool CarrierRuleHolds(const TOptionValues& options, const TSelectedFiles& selection) {
  if (!options.CarrierFilter) return true;
  // An empty selection has no extension to look for.
  std::string extension = selection.Paths.empty() ? std::string() : ExtensionOf(selection.Paths.front());
  return !extension.empty() && options.CarrierMask.find(extension) != std::string::npos;
}

bool DecryptRuleHolds(const TOptionValues& options, const TSelectedFiles& selection) {
  if (!options.DecryptFilter) return true;
  // The extension first: a .TWK path passes whether it exists or not, so it needs no directory search.
  for (auto path = selection.Paths.begin(); path != selection.Paths.end(); ++path)
    if (ExtensionOf(*path) != ".TWK" && IsExistingFile(path.c_str())) return false;
  return true;
}

TShownCommands ShownCommands(const TOptionValues& options, const TSelectedFiles& selection) {
  bool carrierRule = CarrierRuleHolds(options, selection);
  bool decryptRule = DecryptRuleHolds(options, selection);
  TShownCommands shown;
  for (const TCommand* command : CommandsByPosition())
    if (IsShown(*command, carrierRule, decryptRule)) shown.Add(*command);
  return shown;
}

}  // namespace ContextM
