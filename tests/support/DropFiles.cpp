// Builds dropped-file lists and asks the shell for its data object.
#include "DropFiles.h"

#include <shlobj.h>

#include <cstring>

namespace Testing {

namespace {

template <class Char>
HGLOBAL DropFilesOf(const std::vector<std::basic_string<Char>>& paths) {
  std::basic_string<Char> names;
  for (const auto& path : paths) names.append(path).push_back(Char{});
  // The list ends in an empty name; an empty list is that empty name alone, two NULs.
  names.append(paths.empty() ? 2 : 1, Char{});
  std::size_t bytes = names.size() * sizeof(Char);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + bytes);
  auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = sizeof(Char) > 1;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), bytes);
  ::GlobalUnlock(memory);
  return memory;
}

}  // namespace

HGLOBAL MakeDropFiles(const std::vector<std::string>& paths) { return DropFilesOf(paths); }
HGLOBAL MakeDropFiles(const std::vector<std::wstring>& paths) { return DropFilesOf(paths); }

HGLOBAL MakeGlobal(const std::vector<char>& bytes) {
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(::GlobalLock(memory), bytes.data(), bytes.size());
  ::GlobalUnlock(memory);
  return memory;
}

HRESULT TDropFilesObject::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid != IID_IUnknown && iid != IID_IDataObject) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  *object = static_cast<IDataObject*>(this);
  AddRef();
  return S_OK;
}

HRESULT TDropFilesObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
  ++GetDataCalls;
  if (FAILED(GetDataResult)) return GetDataResult;
  if (format->cfFormat != CF_HDROP || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
  medium->tymed = MediumType;
  medium->hGlobal = !FRawBlock.empty() ? MakeGlobal(FRawBlock) : FWide ? MakeDropFiles(FWidePaths) : MakeDropFiles(FPaths);
  medium->pUnkForRelease = nullptr;
  return GetDataResult;
}

}  // namespace Testing
