// Help texts come from the command table; two of them name the first selected file.
#include "HelpText.h"

#include "win32/CodePage.h"
#include "CommandTable.h"
#include "Selection.h"
#include "TextBuffer.h"
#include "com/ComBoundary.h"

#include <shlobj.h>

namespace ContextM {

std::optional<std::string> HelpTextOf(UINT_PTR offset, const TSelectedFiles* selection) {
  const TCommand* command = FindItem(offset);
  if (!command) return std::nullopt;
  std::string text(command->HelpText);
  // Without a selection, or with an empty one, the text ends after its fixed part.
  if (command->HelpNamesFirstPath && selection && !selection->Paths.empty()) text += selection->Paths.front();
  return text;
}

HRESULT GetCommandString(UINT_PTR offset, UINT type, char* buffer, UINT bufferSize) noexcept {
  return ComObj::CallBoundary([&]() -> HRESULT {
    if (type != GCS_HELPTEXTA) return S_OK;  // verbs, validation and wide texts are not offered
    std::optional<std::string> text = HelpTextOf(offset, SelectedFiles().get());
    if (!text) return E_INVALIDARG;
    if (!buffer) return E_POINTER;
    // A buffer without room even for the NUL cannot take an answer.
    return CopyCut(*text, buffer, bufferSize, Win32::SystemLeadBytes()) ? S_OK : E_INVALIDARG;
  });
}

}  // namespace ContextM
