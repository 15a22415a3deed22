// A data object of the tests' own that serves CF_HDROP from a list of paths.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <atomic>
#include <string>
#include <vector>

namespace Testing {

// Serves a DROPFILES block in global memory; counts its references so tests can see none is kept.
class TDropFilesObject : public IDataObject {
public:
  explicit TDropFilesObject(std::vector<std::string> paths) : FPaths(std::move(paths)) {}
  // A list of UTF-16 names, as the shell's own data objects hand out.
  explicit TDropFilesObject(std::vector<std::wstring> paths) : FWidePaths(std::move(paths)), FWide(true) {}

  // A block of exactly these bytes, well formed or not.
  explicit TDropFilesObject(std::vector<char> rawBlock) : FRawBlock(std::move(rawBlock)) {}

  HRESULT GetDataResult = S_OK;   // a failure here is returned without a medium
  DWORD MediumType = TYMED_HGLOBAL;
  int GetDataCalls = 0;
  ULONG References() const { return FReferences; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FReferences; }
  ULONG STDMETHODCALLTYPE Release() override { return --FReferences; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
  std::vector<std::string> FPaths;
  std::vector<std::wstring> FWidePaths;
  std::vector<char> FRawBlock;
  bool FWide = false;
  std::atomic<ULONG> FReferences{1};
};

// A DROPFILES block of ANSI names in movable global memory, as the shell hands it out.
HGLOBAL MakeDropFiles(const std::vector<std::string>& paths);
HGLOBAL MakeDropFiles(const std::vector<std::wstring>& paths);
HGLOBAL MakeGlobal(const std::vector<char>& bytes);


}  // namespace Testing
