// A data object of our own that serves CF_HDROP from a list of paths, for the tests and the benchmark.
#pragma once

#include "ComUnknown.h"
#include "win32/Handles.h"

#include <windows.h>
#include <objidl.h>

#include <string>
#include <vector>

namespace Tools {

// How GetData hands out the DROPFILES block.
enum class THandOut {
  hoCopy,    // a fresh copy each call, freed by the caller, as the shell's data objects do
  hoShared,  // the one block, with this object as the medium's releaser: a call costs no copy
};

// Lives where its user puts it (on the stack, mostly): references are only counted, so a test can see that none
// is kept.
class TDropFilesData : public TComUnknown<TLifetime::ltOwned, IDataObject> {
public:
  // ANSI names.
  explicit TDropFilesData(const std::vector<std::string>& paths, THandOut handOut = THandOut::hoCopy);
  // UTF-16 names, as the shell's own data objects hand them out.
  explicit TDropFilesData(const std::vector<std::wstring>& paths, THandOut handOut = THandOut::hoCopy);
  // A block of exactly these bytes, well formed or not.
  explicit TDropFilesData(const std::vector<char>& rawBlock);
  ~TDropFilesData() override = default;

  HRESULT GetDataResult = S_OK;  // a failure here is returned without a medium
  DWORD MediumType = TYMED_HGLOBAL;
  int GetDataCalls = 0;
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
  HGLOBAL HandedOutBlock() noexcept;

  Win32::TGlobal FBlock;
  THandOut FHandOut;
};

}  // namespace Tools
