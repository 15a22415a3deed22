// The benchmark's own data object: one DROPFILES block of UTF-16 names in global memory, handed out as it is.
#pragma once

#include "win32/Handles.h"

#include <windows.h>
#include <objidl.h>

#include <atomic>
#include <string>
#include <vector>

namespace Bench {

inline void FreeGlobal(HGLOBAL memory) { ::GlobalFree(memory); }
using TGlobal = Win32::TUniqueHandle<HGLOBAL, FreeGlobal>;

// GetData hands out the one block with itself as the releasing object, so a call costs no copy: what is timed
// is the handler's reading, not the data object's making. Lives on the caller's stack; references are only
// counted.
class TDropData final : public IDataObject {
public:
  explicit TDropData(const std::vector<std::wstring>& paths);
  ~TDropData() = default;
  TDropData(const TDropData&) = delete;
  TDropData& operator=(const TDropData&) = delete;

  std::size_t Count() const noexcept { return FCount; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++FReferences; }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return --FReferences; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) noexcept override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) noexcept override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) noexcept override { return E_NOTIMPL; }

private:
  TGlobal FBlock;
  std::size_t FCount;
  std::atomic<ULONG> FReferences{1};
};

// n made-up names of a realistic length in one folder, none of them existing.
std::vector<std::wstring> SampleNames(std::size_t count);

}  // namespace Bench
