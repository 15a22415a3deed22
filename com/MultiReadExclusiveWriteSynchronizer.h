// TMultiReadExclusiveWriteSynchronizer: many readers or one writer, and a writer may enter again.
#pragma once

#include "ThreadPrimitives.h"

#include <atomic>

namespace ComObj {

// Built on a shared lock, which cannot be re-entered, plus an owner and a nesting count.
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
  bool HeldByThisThread() const noexcept { return FWriter.load() == CurrentThreadId(); }

  TSharedLock FLock;
  std::atomic<TThreadId> FWriter{};  // no thread's id when none writes
  unsigned FWriteDepth = 0;          // touched only by the writer
};

// Holds one side of the lock for a scope.
template <void (TMultiReadExclusiveWriteSynchronizer::*Begin)() noexcept,
          void (TMultiReadExclusiveWriteSynchronizer::*End)() noexcept>
class TScopedLock {
public:
  explicit TScopedLock(TMultiReadExclusiveWriteSynchronizer& lock) noexcept : FLock(lock) { (FLock.*Begin)(); }
  ~TScopedLock() { (FLock.*End)(); }
  TScopedLock(const TScopedLock&) = delete;
  TScopedLock& operator=(const TScopedLock&) = delete;

private:
  TMultiReadExclusiveWriteSynchronizer& FLock;
};

using TReadLock =
    TScopedLock<&TMultiReadExclusiveWriteSynchronizer::BeginRead, &TMultiReadExclusiveWriteSynchronizer::EndRead>;
using TWriteLock =
    TScopedLock<&TMultiReadExclusiveWriteSynchronizer::BeginWrite, &TMultiReadExclusiveWriteSynchronizer::EndWrite>;

}  // namespace ComObj
