// The platform's handle owners: one owner template, and one alias per handle type.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <oleauto.h>

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
inline void GdiObject(HBITMAP bitmap) { ::DeleteObject(bitmap); }
inline void Kernel(HANDLE handle) { ::CloseHandle(handle); }
inline void Find(HANDLE handle) { ::FindClose(handle); }
inline void Hook(HHOOK hook) { ::UnhookWindowsHookEx(hook); }
inline void CoTaskString(LPOLESTR text) { ::CoTaskMemFree(text); }
inline void BString(BSTR text) { ::SysFreeString(text); }
inline void Library(HMODULE module) { ::FreeLibrary(module); }
template <class Interface>
void ComRelease(Interface* object) { object->Release(); }
}  // namespace Closers

using TRegKey = TUniqueHandle<HKEY, Closers::RegKey>;
using TMenu = TUniqueHandle<HMENU, Closers::Menu>;
using TBitmap = TUniqueHandle<HBITMAP, Closers::GdiObject>;
using TKernelHandle = TUniqueHandle<HANDLE, Closers::Kernel>;
using TFindHandle = TUniqueHandle<HANDLE, Closers::Find, -1>;
using THook = TUniqueHandle<HHOOK, Closers::Hook>;
using TCoTaskString = TUniqueHandle<LPOLESTR, Closers::CoTaskString>;
using TBString = TUniqueHandle<BSTR, Closers::BString>;
using TLibrary = TUniqueHandle<HMODULE, Closers::Library>;
// A counted interface reference, released once.
template <class Interface>
using TComRef = TUniqueHandle<Interface*, Closers::ComRelease<Interface>>;

// A storage medium handed out by IDataObject::GetData, released with the platform's own rule.
class TStgMedium {
public:
  TStgMedium() noexcept = default;
  TStgMedium(const TStgMedium&) = delete;
  TStgMedium& operator=(const TStgMedium&) = delete;
  ~TStgMedium() { ::ReleaseStgMedium(&FMedium); }

  STGMEDIUM* put() noexcept { return &FMedium; }
  const STGMEDIUM& get() const noexcept { return FMedium; }

private:
  STGMEDIUM FMedium{};
};

// Both handles that CreateProcess hands back.
class TProcessInformation {
public:
  TProcessInformation() noexcept = default;
  TProcessInformation(const TProcessInformation&) = delete;
  TProcessInformation& operator=(const TProcessInformation&) = delete;
  ~TProcessInformation() {
    TKernelHandle process(FInfo.hProcess), thread(FInfo.hThread);
  }

  PROCESS_INFORMATION* put() noexcept { return &FInfo; }
  const PROCESS_INFORMATION& get() const noexcept { return FInfo; }

private:
  PROCESS_INFORMATION FInfo{};
};

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
