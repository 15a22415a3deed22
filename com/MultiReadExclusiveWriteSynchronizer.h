// TMultiReadExclusiveWriteSynchronizer: many readers or one writer, and a writer may enter again.
#pragma once

#include <windows.h>

#include <atomic>

namespace ComObj {

// Built on the slim reader/writer lock, which cannot be re-entered, plus an owner and a nesting count.
// The writing thread may take the write lock again and also the read lock; both nest in the count.
// A reader must not ask for the write lock while it reads: that would wait for itself.
class TMultiReadExclusiveWriteSynchronizer {
public:
  TMultiReadExclusiveWriteSynchronizer() noexcept = default;
  TMultiReadExclusiveWriteSynchronizer(const TMultiReadExclusiveWriteSynchronizer&) = delete;
  TMultiReadExclusiveWriteSynchronizer& operator=(const TMultiReadExclusiveWriteSynchronizer&) = delete;

  void BeginRead() noexcept;
  void EndRead() noexcept;
  void BeginWrite() noexcept;
  void EndWrite() noexcept;

private:
  bool HeldByThisThread() const noexcept { return FWriter.load() == ::GetCurrentThreadId(); }

  SRWLOCK FLock = SRWLOCK_INIT;
  std::atomic<DWORD> FWriter{0};  // thread id of the writer, 0 when none
  unsigned FWriteDepth = 0;       // touched only by the writer
};

// Holds the read lock for a scope.
class TReadLock {
public:
  explicit TReadLock(TMultiReadExclusiveWriteSynchronizer& lock) noexcept : FLock(lock) { FLock.BeginRead(); }
  ~TReadLock() { FLock.EndRead(); }
  TReadLock(const TReadLock&) = delete;
  TReadLock& operator=(const TReadLock&) = delete;

private:
  TMultiReadExclusiveWriteSynchronizer& FLock;
};

// Holds the write lock for a scope.
class TWriteLock {
public:
  explicit TWriteLock(TMultiReadExclusiveWriteSynchronizer& lock) noexcept : FLock(lock) { FLock.BeginWrite(); }
  ~TWriteLock() { FLock.EndWrite(); }
  TWriteLock(const TWriteLock&) = delete;
  TWriteLock& operator=(const TWriteLock&) = delete;

private:
  TMultiReadExclusiveWriteSynchronizer& FLock;
};

}  // namespace ComObj
