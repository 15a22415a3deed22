// The library's own per-thread exception bookkeeping, in place of its C++ runtime's (libstdc++ in the MinGW-w64
// builds, zig's libc++abi in the ARM64 one): each runtime's version keeps a resource of the process after the
// library unloads.
#include <windows.h>

#include <cstdlib>

// libstdc++ keeps the bookkeeping in emulated thread-local storage, which rests on the thread library that takes
// a thread-local index at each load and never gives it back; libc++abi keeps it in a fiber-local slot that it
// takes at the first exception of each load and never gives back, so once the library is gone the slot's
// destructor points into nothing and the process crashes when a thread ends. Explorer unloads idle handlers and
// loads them again at the next right-click. Here it lives in a fiber-local slot that the library gives back when it
// unloads.

namespace __cxxabiv1 {

// Both runtimes' layout: the caught exceptions' chain and the count of exceptions thrown but not yet caught.
struct __cxa_eh_globals {
  void* CaughtExceptions;
  unsigned int UncaughtExceptions;
};

namespace {

DWORD EhSlot = FLS_OUT_OF_INDEXES;
INIT_ONCE EhSlotTaken = INIT_ONCE_STATIC_INIT;

// Called for a thread's block when the thread ends, and for every thread's block when the slot is given back.
void WINAPI FreeEhGlobals(void* globals) { ::HeapFree(::GetProcessHeap(), 0, globals); }

BOOL CALLBACK TakeEhSlot(PINIT_ONCE, void*, void**) {
  EhSlot = ::FlsAlloc(FreeEhGlobals);
  return EhSlot != FLS_OUT_OF_INDEXES;
}

// Destroyed when the library unloads.
struct TEhSlotRelease {
  ~TEhSlotRelease() {
    if (EhSlot != FLS_OUT_OF_INDEXES) ::FlsFree(EhSlot);
  }
} EhSlotRelease;

}  // namespace

// Without its bookkeeping no exception can be thrown or caught: running out of memory or slots here ends the
// process, as the runtime's own version does.
extern "C" __cxa_eh_globals* __cxa_get_globals() noexcept {
  if (!::InitOnceExecuteOnce(&EhSlotTaken, TakeEhSlot, nullptr, nullptr)) std::abort();
  auto* globals = static_cast<__cxa_eh_globals*>(::FlsGetValue(EhSlot));
  if (globals) return globals;
  globals = static_cast<__cxa_eh_globals*>(::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof *globals));
  if (!globals || !::FlsSetValue(EhSlot, globals)) std::abort();
  return globals;
}

extern "C" __cxa_eh_globals* __cxa_get_globals_fast() noexcept { return __cxa_get_globals(); }

}  // namespace __cxxabiv1
