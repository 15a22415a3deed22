// The reader/writer lock with real threads: shared reads, exclusive writes, a writer that re-enters.
#include "ComTesting.h"

#include "com/MultiReadExclusiveWriteSynchronizer.h"

#include <gtest/gtest.h>

using namespace ComObj;
using namespace Testing;

class SynchronizerTest : public ::testing::Test {
protected:
  // Starts a thread that takes the read (or write) lock, reports entry, and leaves when released.
  struct TContender {
    TEvent Entered, Leave;
    std::unique_ptr<TThread> Thread;
    TContender(TMultiReadExclusiveWriteSynchronizer& lock, bool write) {
      Thread = std::make_unique<TThread>([this, &lock, write] {
        write ? lock.BeginWrite() : lock.BeginRead();
        Entered.Set();
        Leave.Wait();
        write ? lock.EndWrite() : lock.EndRead();
      });
    }
    ~TContender() {
      Leave.Set();
      Thread.reset();
    }
  };

  TMultiReadExclusiveWriteSynchronizer Lock;
};

TEST_F(SynchronizerTest, ReadersHoldTheLockTogether) {
  // Each reader waits inside its read lock until the other is inside too: only possible while both hold it.
  TEvent firstIn, secondIn;
  std::atomic<bool> firstMet{false}, secondMet{false};
  {
    TThread first([&] {
      Lock.BeginRead();
      firstIn.Set();
      firstMet = secondIn.Wait();
      Lock.EndRead();
    });
    TThread second([&] {
      Lock.BeginRead();
      secondIn.Set();
      secondMet = firstIn.Wait();
      Lock.EndRead();
    });
  }
  EXPECT_TRUE(firstMet);
  EXPECT_TRUE(secondMet);
}

TEST_F(SynchronizerTest, AWriterWaitsForReadersAndThenExcludesThem) {
  Lock.BeginRead();
  TContender writer(Lock, true);
  EXPECT_FALSE(writer.Entered.Wait(BlockedMilliseconds)) << "the writer entered while a reader held the lock";
  Lock.EndRead();
  ASSERT_TRUE(writer.Entered.Wait());

  TContender reader(Lock, false);
  EXPECT_FALSE(reader.Entered.Wait(BlockedMilliseconds)) << "a reader entered while the writer held the lock";
  writer.Leave.Set();
  EXPECT_TRUE(reader.Entered.Wait());
}

TEST_F(SynchronizerTest, AWriterExcludesAnotherWriter) {
  TContender first(Lock, true);
  ASSERT_TRUE(first.Entered.Wait());
  TContender second(Lock, true);
  EXPECT_FALSE(second.Entered.Wait(BlockedMilliseconds)) << "two writers held the lock";
  first.Leave.Set();
  EXPECT_TRUE(second.Entered.Wait());
}

TEST_F(SynchronizerTest, TheWriterTakesTheLockAgainAndItsTakesAreCounted) {
  Lock.BeginWrite();
  Lock.BeginWrite();
  Lock.BeginRead();  // a read inside the write nests as well
  Lock.EndRead();
  Lock.EndWrite();
  TContender reader(Lock, false);
  EXPECT_FALSE(reader.Entered.Wait(BlockedMilliseconds)) << "one EndWrite of two released the lock";
  Lock.EndWrite();
  EXPECT_TRUE(reader.Entered.Wait());
}

TEST_F(SynchronizerTest, AReleasedWriteLockCanBeTakenByAnotherThread) {
  Lock.BeginWrite();
  Lock.EndWrite();
  TContender writer(Lock, true);
  EXPECT_TRUE(writer.Entered.Wait());
  writer.Leave.Set();
}
