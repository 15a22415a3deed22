// Selection capture from CF_HDROP, and the module-wide list every handler object reads.
#include "Selection.h"

#include "Shared.h"
#include "com/Resource.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <optional>
#include <string_view>

namespace ContextM {

namespace {

TShared<TSelection> ModuleSelection;

// The name in the system code page, or none when that code page cannot hold it exactly: best fit would
// turn a full-width backslash or quote into a real one, and the path could then name another file.
std::optional<std::string> ToAnsiExactly(std::wstring_view name) {
  if (name.empty()) return std::string();
  bool utf8 = ::GetACP() == CP_UTF8;  // holds every name, and refuses the flag and the default check
  BOOL usedDefault = FALSE;
  DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL* lossy = utf8 ? nullptr : &usedDefault;
  int length = static_cast<int>(name.size());
  int size = ::WideCharToMultiByte(CP_ACP, flags, name.data(), length, nullptr, 0, nullptr, lossy);
  if (size == 0 || usedDefault) return std::nullopt;
  std::string text(size, '\0');
  ::WideCharToMultiByte(CP_ACP, flags, name.data(), length, text.data(), size, nullptr, nullptr);
  return text;
}

// Fetches one name whole, however long: a path cut short can name another existing file.
std::wstring_view QueryName(HDROP drop, UINT index, std::wstring& buffer) {
  if (buffer.size() < MAX_PATH + 1) buffer.resize(MAX_PATH + 1);
  UINT copied = ::DragQueryFileW(drop, index, buffer.data(), static_cast<UINT>(buffer.size()));
  if (copied + 1 >= buffer.size()) {
    buffer.resize(::DragQueryFileW(drop, index, nullptr, 0) + 1);
    copied = ::DragQueryFileW(drop, index, buffer.data(), static_cast<UINT>(buffer.size()));
  }
  // The count, not the buffer: for an empty name Wine copies nothing, not even the NUL.
  return std::wstring_view(buffer.data(), std::min<std::size_t>(copied, ::wcsnlen(buffer.data(), buffer.size())));
}

// None when a name cannot be passed on exactly.
std::optional<TPathList> QueryPaths(HDROP drop, std::wstring& buffer) {
  TPathList paths;
  UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  paths.reserve(count);
  for (UINT index = 0; index < count; ++index) {
    std::optional<std::string> path = ToAnsiExactly(QueryName(drop, index, buffer));
    if (!path) return std::nullopt;
    // Wine counts an empty list as one empty name; an empty name is no path.
    if (!path->empty()) paths.push_back(std::move(*path));
  }
  return paths;
}

}  // namespace

TSelection SelectedFiles() { return ModuleSelection.Get(); }
void SetSelectedFiles(TSelection selection) { ModuleSelection.Set(std::move(selection)); }
TSelection SpendSelectedFiles() { return ModuleSelection.Exchange(nullptr); }

HRESULT CaptureSelection(IDataObject* dataObject, std::wstring& pathBuffer) {
  if (!dataObject) return E_INVALIDARG;
  FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  ComObj::TStgMedium medium;
  HRESULT result = dataObject->GetData(&format, medium.put());
  if (FAILED(result)) return result;
  // Any other medium's handle is not a dropped-file list; reading it as one could crash the host.
  if (medium.get().tymed != TYMED_HGLOBAL) return DV_E_TYMED;

  std::optional<TPathList> paths = QueryPaths(static_cast<HDROP>(medium.get().hGlobal), pathBuffer);
  if (!paths) {
    // No menu at all rather than one that would act on other files, this selection's or an earlier one's.
    SetSelectedFiles(nullptr);
    return HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION);
  }
  bool anyPath = !paths->empty();
  SetSelectedFiles(std::make_shared<const TPathList>(std::move(*paths)));
  return anyPath ? S_OK : result;
}

}  // namespace ContextM
