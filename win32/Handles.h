// The platform's resource owners: an owner template for a handle and one for a structure of handles, an alias
// per handle type, the COM reference, and the lock of a global-memory block.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <oleauto.h>
#include <shtypes.h>

#include <cstdint>
#include <utility>

namespace Win32 {

// Owns a handle and frees it with Closer; the handle whose bits are InvalidBits owns nothing.
template <class Handle, auto Closer, std::intptr_t InvalidBits = 0>
class TUniqueHandle {
  static Handle Invalid() noexcept { return reinterpret_cast<Handle>(InvalidBits); }

public:
  TUniqueHandle() noexcept = default;
  explicit TUniqueHandle(Handle handle) noexcept : FHandle(handle) {}
  TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(other.release()) {}
  TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;
  ~TUniqueHandle() { reset(); }

  Handle get() const noexcept { return FHandle; }
  explicit operator bool() const noexcept { return FHandle != Invalid(); }

  // Frees the old value first, so the address can be handed to a function that writes a new one.
  Handle* put() noexcept {
    reset();
    return &FHandle;
  }
  // Called at the exact point where ownership passes to someone else.
  Handle release() noexcept { return std::exchange(FHandle, Invalid()); }
  void reset(Handle handle = Invalid()) noexcept {
    if (Handle old = std::exchange(FHandle, handle); old != Invalid()) Closer(old);
  }

private:
  Handle FHandle = Invalid();
};

namespace Closers {
inline void RegKey(HKEY key) { ::RegCloseKey(key); }
inline void Menu(HMENU menu) { ::DestroyMenu(menu); }
template <class Object>
void GdiObject(Object object) {
  ::DeleteObject(object);
}
inline void MemoryDc(HDC dc) { ::DeleteDC(dc); }
inline void ScreenDc(HDC dc) { ::ReleaseDC(nullptr, dc); }
inline void Kernel(HANDLE handle) { ::CloseHandle(handle); }
inline void Find(HANDLE handle) { ::FindClose(handle); }
inline void Hook(HHOOK hook) { ::UnhookWindowsHookEx(hook); }
template <class Memory>
void CoTaskMemory(Memory* memory) {
  ::CoTaskMemFree(memory);
}
inline void BString(BSTR text) { ::SysFreeString(text); }
inline void Library(HMODULE module) { ::FreeLibrary(module); }
inline void Global(HGLOBAL memory) { ::GlobalFree(memory); }
inline void Local(HLOCAL memory) { ::LocalFree(memory); }
template <class Interface>
void ComRelease(Interface* object) {
  object->Release();
}
inline void StgMedium(STGMEDIUM& medium) { ::ReleaseStgMedium(&medium); }
inline void ProcessInformation(PROCESS_INFORMATION& info) {
  if (info.hThread) ::CloseHandle(info.hThread);
  if (info.hProcess) ::CloseHandle(info.hProcess);
}
}  // namespace Closers

using TRegKey = TUniqueHandle<HKEY, Closers::RegKey>;
using TMenu = TUniqueHandle<HMENU, Closers::Menu>;
using TBitmap = TUniqueHandle<HBITMAP, Closers::GdiObject<HBITMAP>>;
using TFont = TUniqueHandle<HFONT, Closers::GdiObject<HFONT>>;
using TMemoryDc = TUniqueHandle<HDC, Closers::MemoryDc>;
using TScreenDc = TUniqueHandle<HDC, Closers::ScreenDc>;
using TKernelHandle = TUniqueHandle<HANDLE, Closers::Kernel>;
// CreateFile's failure is INVALID_HANDLE_VALUE, not null.
using TFileHandle = TUniqueHandle<HANDLE, Closers::Kernel, -1>;
using TFindHandle = TUniqueHandle<HANDLE, Closers::Find, -1>;
using THook = TUniqueHandle<HHOOK, Closers::Hook>;
using TCoTaskString = TUniqueHandle<LPOLESTR, Closers::CoTaskMemory<OLECHAR>>;
using TItemIdList = TUniqueHandle<ITEMIDLIST*, Closers::CoTaskMemory<ITEMIDLIST>>;
using TBString = TUniqueHandle<BSTR, Closers::BString>;
using TLibrary = TUniqueHandle<HMODULE, Closers::Library>;
using TGlobal = TUniqueHandle<HGLOBAL, Closers::Global>;
// A text that the system allocated for the caller, as FormatMessage does when asked to.
using TLocalText = TUniqueHandle<wchar_t*, Closers::Local>;

// A counted interface reference, released once. A raw pointer given to the constructor or to attach is adopted:
// its reference passes to the owner. A copy, copy_to and Referenced add a reference of their own.
template <class Interface>
class TComRef : public TUniqueHandle<Interface*, Closers::ComRelease<Interface>> {
  using TBase = TUniqueHandle<Interface*, Closers::ComRelease<Interface>>;

  static Interface* AddedTo(Interface* object) noexcept {
    if (object) object->AddRef();
    return object;
  }

public:
  using TBase::TBase;
  TComRef(const TComRef& other) noexcept : TBase(AddedTo(other.get())) {}
  TComRef& operator=(const TComRef& other) noexcept {
    this->reset(AddedTo(other.get()));  // added before the old one goes, so self-assignment keeps the object
    return *this;
  }
  TComRef(TComRef&&) noexcept = default;
  TComRef& operator=(TComRef&&) noexcept = default;

  Interface* operator->() const noexcept { return this->get(); }
  Interface& operator*() const noexcept { return *this->get(); }
  // For the rare call whose interface id and out-parameter are not side by side; IID_PPV_ARGS(ref.put()) otherwise.
  static REFIID iid() noexcept { return __uuidof(Interface); }
  void** put_void() noexcept { return IID_PPV_ARGS_Helper(this->put()); }

  void attach(Interface* object) noexcept { this->reset(object); }
  [[nodiscard]] Interface* detach() noexcept { return this->release(); }
  // Hands a reference of its own to an out-parameter; null when empty.
  HRESULT copy_to(Interface** out) const noexcept {
    if (!out) return E_POINTER;
    *out = AddedTo(this->get());
    return S_OK;
  }
  // Hands out the interface the caller names, as QueryInterface does.
  HRESULT copy_to(REFIID iid, void** out) const noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    return *this ? this->get()->QueryInterface(iid, out) : E_NOINTERFACE;
  }

  // Another interface of the same object: an empty reference when the object does not have it.
  template <class Other>
  TComRef<Other> query() const noexcept {
    TComRef<Other> other;
    query(other);
    return other;
  }
  // The same, with the object's answer.
  template <class Other>
  HRESULT query(TComRef<Other>& other) const noexcept {
    if (!*this) return E_POINTER;
    return this->get()->QueryInterface(IID_PPV_ARGS(other.put()));
  }
};

// A new reference to an object the caller only borrows.
template <class Interface>
TComRef<Interface> Referenced(Interface* object) noexcept {
  if (object) object->AddRef();
  return TComRef<Interface>(object);
}

// Owns a structure that holds handles, and frees them all with Closer; a zeroed structure owns nothing.
template <class Struct, auto Closer>
class TUniqueStruct {
public:
  TUniqueStruct() noexcept = default;
  TUniqueStruct(const TUniqueStruct&) = delete;
  TUniqueStruct& operator=(const TUniqueStruct&) = delete;
  ~TUniqueStruct() { reset(); }

  // Frees the old value first, as TUniqueHandle's put does.
  Struct* put() noexcept {
    reset();
    return &FValue;
  }
  const Struct& get() const noexcept { return FValue; }
  void reset() noexcept {
    Closer(FValue);
    FValue = Struct{};
  }

private:
  Struct FValue{};
};

// A storage medium handed out by IDataObject::GetData, released with the platform's own rule.
using TStgMedium = TUniqueStruct<STGMEDIUM, Closers::StgMedium>;
// Both handles that CreateProcess hands back.
using TProcessInformation = TUniqueStruct<PROCESS_INFORMATION, Closers::ProcessInformation>;

// A global-memory block locked for reading, unlocked on every path.
class TGlobalLock {
public:
  explicit TGlobalLock(HGLOBAL memory) noexcept : FMemory(memory), FData(::GlobalLock(memory)) {}
  TGlobalLock(const TGlobalLock&) = delete;
  TGlobalLock& operator=(const TGlobalLock&) = delete;
  ~TGlobalLock() {
    if (FData) ::GlobalUnlock(FMemory);
  }

  const void* data() const noexcept { return FData; }
  // The block's size as the heap knows it: the bound for reading it.
  SIZE_T size() const noexcept { return FData ? ::GlobalSize(FMemory) : 0; }

private:
  HGLOBAL FMemory;
  void* FData;
};

}  // namespace Win32
