// The factory registry's reader/writer lock under ThreadSanitizer: the guarded data is plain, so any access
// the lock lets overlap is reported as a race, and a torn pair is counted.
#include "com/MultiReadExclusiveWriteSynchronizer.h"

#include "RunTogether.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <random>
#include <thread>
#include <vector>

using namespace ComObj;

namespace {

// Written only as a pair under the write lock: a reader that sees them differ saw a write in progress.
struct TGuarded {
  std::uint64_t First = 0;
  std::uint64_t Second = 0;
  std::uint64_t Writes = 0;
};

constexpr int Threads = 12;
constexpr int Rounds = 20000;

class SynchronizerThreadTest : public ::testing::Test {
protected:
  void Write() {
    ++Data.First;
    std::this_thread::yield();  // widen the window in which a reader could see half a write
    ++Data.Second;
    ++Data.Writes;
  }
  void Read() {
    if (Data.First != Data.Second) ++Torn;
  }
  template <class Work>
  void RunThreads(Work work) {
    NativeTesting::RunTogether(Threads, work);
  }

  TMultiReadExclusiveWriteSynchronizer Lock;
  TGuarded Data;
  std::atomic<int> Torn{0};
};

}  // namespace

TEST_F(SynchronizerThreadTest, WritersExcludeEachOtherAndReaders) {
  RunThreads([this](int t) {
    for (int round = 0; round < Rounds; ++round) {
      if ((t + round) % 4 == 0) {
        TWriteLock lock(Lock);
        Write();
      } else {
        TReadLock lock(Lock);
        Read();
      }
    }
  });
  EXPECT_EQ(Torn, 0);
  EXPECT_EQ(Data.Writes, Threads * Rounds / 4);
}

// The writer takes the lock again and reads inside its write; only its outermost end lets others in, so the
// half write it leaves between the inner ends and the outer one must stay unseen.
TEST_F(SynchronizerThreadTest, AReenteringWriterHoldsTheLockUntilItsOutermostEnd) {
  RunThreads([this](int t) {
    for (int round = 0; round < Rounds; ++round) {
      if (t % 3 == 0) {
        Lock.BeginWrite();
        Lock.BeginWrite();
        Lock.BeginRead();
        ++Data.First;
        Lock.EndRead();
        Lock.EndWrite();
        std::this_thread::yield();
        ++Data.Second;
        ++Data.Writes;
        Lock.EndWrite();
      } else {
        TReadLock lock(Lock);
        Read();
      }
    }
  });
  EXPECT_EQ(Torn, 0);
  EXPECT_EQ(Data.Writes, (Threads / 3) * Rounds);
}

TEST_F(SynchronizerThreadTest, RandomMixOfNestedWritesReadsInsideWritesAndPlainReads) {
  RunThreads([this](int t) {
    std::minstd_rand random(static_cast<unsigned>(t) + 1);
    for (int round = 0; round < Rounds; ++round) {
      switch (random() % 4) {
        case 0: {
          TWriteLock outer(Lock);
          unsigned depth = random() % 4;
          for (unsigned i = 0; i < depth; ++i) random() % 2 ? Lock.BeginWrite() : Lock.BeginRead();
          Write();
          // Ends in any order of the two kinds: both nest in the writer's one count.
          for (unsigned i = 0; i < depth; ++i) random() % 2 ? Lock.EndWrite() : Lock.EndRead();
          Read();
          break;
        }
        default: {
          TReadLock lock(Lock);
          Read();
        }
      }
    }
  });
  EXPECT_EQ(Torn, 0);
}
