// The library's lock and the caller's thread id, on which the reader/writer lock and every other lock of the
// library are built. On Windows they are the system's own: the statically linked thread library's thread layer
// would take a thread-local storage slot at every load of the library and never give it back. Elsewhere (the
// native sanitizer builds) they are the standard library's.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <shared_mutex>
#include <thread>
#endif

namespace ComObj {

#ifdef _WIN32

class TSharedLock {
public:
  TSharedLock() noexcept = default;
  TSharedLock(const TSharedLock&) = delete;
  TSharedLock& operator=(const TSharedLock&) = delete;

  void lock() noexcept { ::AcquireSRWLockExclusive(&FLock); }
  void unlock() noexcept { ::ReleaseSRWLockExclusive(&FLock); }
  void lock_shared() noexcept { ::AcquireSRWLockShared(&FLock); }
  void unlock_shared() noexcept { ::ReleaseSRWLockShared(&FLock); }

private:
  SRWLOCK FLock = SRWLOCK_INIT;
};

using TThreadId = DWORD;  // 0 is no thread's id
inline TThreadId CurrentThreadId() noexcept { return ::GetCurrentThreadId(); }

#else

using TSharedLock = std::shared_mutex;
using TThreadId = std::thread::id;  // the default is no thread's id
inline TThreadId CurrentThreadId() noexcept { return std::this_thread::get_id(); }

#endif

}  // namespace ComObj
