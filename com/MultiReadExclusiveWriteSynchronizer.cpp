// The reader/writer lock of the class-factory registry.
#include "MultiReadExclusiveWriteSynchronizer.h"

namespace ComObj {

void TMultiReadExclusiveWriteSynchronizer::BeginRead() noexcept {
  // The writer already excludes everyone; its reads just nest.
  if (HeldByThisThread()) {
    ++FWriteDepth;
    return;
  }
  ::AcquireSRWLockShared(&FLock);
}

void TMultiReadExclusiveWriteSynchronizer::EndRead() noexcept {
  if (HeldByThisThread()) {
    EndWrite();
    return;
  }
  ::ReleaseSRWLockShared(&FLock);
}

void TMultiReadExclusiveWriteSynchronizer::BeginWrite() noexcept {
  if (HeldByThisThread()) {
    ++FWriteDepth;
    return;
  }
  ::AcquireSRWLockExclusive(&FLock);
  FWriter.store(::GetCurrentThreadId());
  FWriteDepth = 1;
}

void TMultiReadExclusiveWriteSynchronizer::EndWrite() noexcept {
  if (--FWriteDepth > 0) return;
  FWriter.store(0);
  ::ReleaseSRWLockExclusive(&FLock);
}

}  // namespace ComObj
