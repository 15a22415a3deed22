// Selection capture from CF_HDROP, and the module-wide list every handler object reads.
#include "Selection.h"

#include "Shared.h"
#include "com/Resource.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

namespace ContextM {

namespace {

TShared<TSelection> ModuleSelection;

// Fetches one name whole, however long: a path cut short can name another existing file.
std::string QueryPath(HDROP drop, UINT index, std::string& buffer) {
  if (buffer.size() < MAX_PATH + 1) buffer.resize(MAX_PATH + 1);
  UINT copied = ::DragQueryFileA(drop, index, buffer.data(), static_cast<UINT>(buffer.size()));
  if (copied + 1 >= buffer.size()) {
    buffer.resize(::DragQueryFileA(drop, index, nullptr, 0) + 1);
    copied = ::DragQueryFileA(drop, index, buffer.data(), static_cast<UINT>(buffer.size()));
  }
  // The count, not the buffer: for an empty name Wine copies nothing, not even the NUL.
  return std::string(buffer.data(), std::min<std::size_t>(copied, ::strnlen(buffer.data(), buffer.size())));
}

TPathList QueryPaths(HDROP drop, std::string& buffer) {
  TPathList paths;
  UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  paths.reserve(count);
  for (UINT index = 0; index < count; ++index) {
    // Wine counts an empty list as one empty name; an empty name is no path.
    if (std::string path = QueryPath(drop, index, buffer); !path.empty()) paths.push_back(std::move(path));
  }
  return paths;
}

}  // namespace

TSelection SelectedFiles() { return ModuleSelection.Get(); }
void SetSelectedFiles(TSelection selection) { ModuleSelection.Set(std::move(selection)); }
TSelection SpendSelectedFiles() { return ModuleSelection.Exchange(nullptr); }

HRESULT CaptureSelection(IDataObject* dataObject, std::string& pathBuffer) {
  if (!dataObject) return E_INVALIDARG;
  FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  ComObj::TStgMedium medium;
  HRESULT result = dataObject->GetData(&format, medium.put());
  if (FAILED(result)) return result;
  // Any other medium's handle is not a dropped-file list; reading it as one could crash the host.
  if (medium.get().tymed != TYMED_HGLOBAL) return DV_E_TYMED;

  auto paths = std::make_shared<const TPathList>(QueryPaths(static_cast<HDROP>(medium.get().hGlobal), pathBuffer));
  bool anyPath = !paths->empty();
  SetSelectedFiles(std::move(paths));
  return anyPath ? S_OK : result;
}

}  // namespace ContextM
