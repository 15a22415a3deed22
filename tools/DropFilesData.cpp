// The block is built once, in global memory; GetData hands it out or a copy of it.
#include "DropFilesData.h"

#include "DropFilesBlock.h"

#include <cstring>
#include <new>

namespace Tools {

namespace {

Win32::TGlobal GlobalCopy(const void* bytes, std::size_t size) {
  Win32::TGlobal memory(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
  if (!memory) throw std::bad_alloc();
  if (size == 0) return memory;
  void* target = ::GlobalLock(memory.get());
  if (!target) throw std::bad_alloc();
  std::memcpy(target, bytes, size);
  ::GlobalUnlock(memory.get());
  return memory;
}

Win32::TGlobal GlobalCopy(const std::vector<std::byte>& block) { return GlobalCopy(block.data(), block.size()); }

// UTF-16 on this platform: wchar_t and char16_t are the same size.
std::vector<std::u16string> Utf16(const std::vector<std::wstring>& paths) {
  std::vector<std::u16string> names;
  for (const std::wstring& path : paths) names.emplace_back(path.begin(), path.end());
  return names;
}

}  // namespace

TDropFilesData::TDropFilesData(const std::vector<std::string>& paths, THandOut handOut)
    : FBlock(GlobalCopy(DropFilesBlock(paths))), FHandOut(handOut) {}

TDropFilesData::TDropFilesData(const std::vector<std::wstring>& paths, THandOut handOut)
    : FBlock(GlobalCopy(DropFilesBlock(Utf16(paths)))), FHandOut(handOut) {}

TDropFilesData::TDropFilesData(const std::vector<char>& rawBlock)
    : FBlock(GlobalCopy(rawBlock.data(), rawBlock.size())), FHandOut(THandOut::hoCopy) {}

HRESULT TDropFilesData::QueryGetData(FORMATETC* format) noexcept {
  return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
}

HRESULT TDropFilesData::GetData(FORMATETC* format, STGMEDIUM* medium) noexcept {
  if (!medium) return E_POINTER;
  ++GetDataCalls;
  if (FAILED(GetDataResult)) return GetDataResult;
  if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
  HGLOBAL block = HandedOutBlock();
  if (!block) return E_OUTOFMEMORY;
  medium->tymed = MediumType;
  medium->hGlobal = block;
  // A shared block is released through us, and ReleaseStgMedium then leaves it alone.
  medium->pUnkForRelease = FHandOut == THandOut::hoShared ? static_cast<IDataObject*>(this) : nullptr;
  if (medium->pUnkForRelease) AddRef();
  return GetDataResult;
}

HGLOBAL TDropFilesData::HandedOutBlock() noexcept {
  if (FHandOut == THandOut::hoShared) return FBlock.get();
  try {
    Win32::TGlobalLock source(FBlock.get());
    return GlobalCopy(source.data(), source.size()).release();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace Tools
