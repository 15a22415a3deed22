// The DROPFILES block: the header, then each name with its NUL, then one more NUL.
#include "DropData.h"

#include <shlobj.h>

#include <cstring>
#include <stdexcept>

namespace Bench {

TDropData::TDropData(const std::vector<std::wstring>& paths) : FCount(paths.size()) {
  std::wstring names;
  for (const std::wstring& path : paths) names.append(path).push_back(L'\0');
  names.push_back(L'\0');
  std::size_t bytes = names.size() * sizeof(wchar_t);
  FBlock.reset(::GlobalAlloc(GMEM_MOVEABLE, sizeof(DROPFILES) + bytes));
  auto* drop = static_cast<DROPFILES*>(::GlobalLock(FBlock.get()));
  if (!drop) throw std::runtime_error("cannot allocate a dropped-file list");
  *drop = DROPFILES{sizeof(DROPFILES), {0, 0}, FALSE, TRUE};
  std::memcpy(drop + 1, names.data(), bytes);
  ::GlobalUnlock(FBlock.get());
}

HRESULT TDropData::QueryInterface(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!::IsEqualGUID(iid, IID_IUnknown) && !::IsEqualGUID(iid, IID_IDataObject)) return E_NOINTERFACE;
  *out = static_cast<IDataObject*>(this);
  AddRef();
  return S_OK;
}

HRESULT TDropData::QueryGetData(FORMATETC* format) noexcept {
  return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
}

HRESULT TDropData::GetData(FORMATETC* format, STGMEDIUM* medium) noexcept {
  if (!medium) return E_POINTER;
  if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = FBlock.get();
  medium->pUnkForRelease = this;  // ReleaseStgMedium then releases us and leaves the block alone
  AddRef();
  return S_OK;
}

std::vector<std::wstring> SampleNames(std::size_t count) {
  std::vector<std::wstring> names;
  names.reserve(count);
  for (std::size_t i = 0; i < count; ++i)
    names.push_back(L"C:\\Users\\someone\\Documents\\Tarnwick\\Quarterly report " + std::to_wstring(i) + L".docx");
  return names;
}

}  // namespace Bench
