// The reader/writer lock of the class-factory registry.
#include "MultiReadExclusiveWriteSynchronizer.h"

namespace ComObj {

void TMultiReadExclusiveWriteSynchronizer::BeginRead() noexcept {
  // The writer already excludes everyone; its reads just nest.
  if (HeldByThisThread()) {
    ++FWriteDepth;
    return;
  }
  FLock.lock_shared();
}

void TMultiReadExclusiveWriteSynchronizer::EndRead() noexcept {
  if (HeldByThisThread()) {
    EndWrite();
    return;
  }
  FLock.unlock_shared();
}

void TMultiReadExclusiveWriteSynchronizer::BeginWrite() noexcept {
  if (HeldByThisThread()) {
    ++FWriteDepth;
    return;
  }
  FLock.lock();
  FWriter.store(CurrentThreadId());
  FWriteDepth = 1;
}

void TMultiReadExclusiveWriteSynchronizer::EndWrite() noexcept {
  if (--FWriteDepth > 0) return;
  FWriter.store(TThreadId{});
  FLock.unlock();
}

}  // namespace ComObj
