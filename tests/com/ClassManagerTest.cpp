// The class-factory registry: lookup by class id, walks by server, detaching, and its lock across threads.
#include "ComTesting.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace ComObj;
using namespace Testing;

class ClassManagerTest : public ::testing::Test {
protected:
  TComObjectFactory* Make(TTestServer& server, unsigned id) {
    Owned.push_back(std::make_unique<TComObjectFactory>(server, ClassOf<TPlainObject>, TestClassId(id), "", "",
                                                        imMultiUse, thApartment));
    return Owned.back().get();
  }
  std::vector<TComObjectFactory*> Walk(TTestServer& server) {
    std::vector<TComObjectFactory*> seen;
    ClassManager().VisitFactories(server, [&](TComObjectFactory& factory) { seen.push_back(&factory); });
    return seen;
  }
  using TWalk = std::vector<TComObjectFactory*>;

  TTestServer First, Second;
  std::vector<std::unique_ptr<TComObjectFactory>> Owned;
};

TEST_F(ClassManagerTest, AnEmptyChainFindsAndVisitsNothing) {
  EXPECT_EQ(ClassManager().FindFactory(TestClassId(100)), nullptr);
  EXPECT_TRUE(Walk(First).empty());
}

TEST_F(ClassManagerTest, TheLaterOfTwoFactoriesForOneClassWins) {
  TComObjectFactory* older = Make(First, 101);
  TComObjectFactory* newer = Make(Second, 101);
  EXPECT_EQ(ClassManager().FindFactory(TestClassId(101)), newer);
  Owned.pop_back();
  EXPECT_EQ(ClassManager().FindFactory(TestClassId(101)), older);
  Owned.pop_back();
  EXPECT_EQ(ClassManager().FindFactory(TestClassId(101)), nullptr);
}

TEST_F(ClassManagerTest, AWalkVisitsOneServersFactoriesNewestFirst) {
  TComObjectFactory* a = Make(First, 102);
  TComObjectFactory* other = Make(Second, 103);
  TComObjectFactory* b = Make(First, 104);
  EXPECT_EQ(Walk(First), (TWalk{b, a}));
  EXPECT_EQ(Walk(Second), (TWalk{other}));
}

TEST_F(ClassManagerTest, DetachingWorksAtEveryPlaceAndIgnoresAStranger) {
  TComObjectFactory* last = Make(First, 105);
  TComObjectFactory* middle = Make(First, 106);
  TComObjectFactory* head = Make(First, 107);
  TComObjectFactory* spare = Make(First, 108);
  ClassManager().DetachFactory(*spare);
  EXPECT_EQ(Walk(First), (TWalk{head, middle, last}));
  ClassManager().DetachFactory(*spare);
  EXPECT_EQ(Walk(First), (TWalk{head, middle, last}));
  ClassManager().DetachFactory(*middle);
  EXPECT_EQ(Walk(First), (TWalk{head, last}));
  ClassManager().DetachFactory(*last);
  EXPECT_EQ(Walk(First), (TWalk{head}));
  ClassManager().DetachFactory(*head);
  EXPECT_TRUE(Walk(First).empty());
}

TEST_F(ClassManagerTest, AVisitorThatFreesEachFactoryEmptiesTheChainWithoutSkipping) {
  std::vector<TComObjectFactory*> mine;
  for (unsigned id = 110; id < 116; ++id) {
    TComObjectFactory* factory = Make(id % 2 ? First : Second, id);
    if (id % 2) mine.push_back(factory);
  }
  int visited = 0;
  ClassManager().VisitFactories(First, [&](TComObjectFactory& factory) {
    ++visited;
    for (auto& owned : Owned)
      if (owned.get() == &factory) owned.reset();  // its destructor detaches it under the walk's write lock
  });
  EXPECT_EQ(visited, 3);
  EXPECT_TRUE(Walk(First).empty());
  EXPECT_EQ(Walk(Second).size(), 3u);
  for (unsigned id = 110; id < 116; ++id)
    EXPECT_EQ(ClassManager().FindFactory(TestClassId(id)) != nullptr, id % 2 == 0) << id;
}

TEST_F(ClassManagerTest, AFailingVisitorEndsTheWalkAndReleasesTheLock) {
  Make(First, 120);
  Make(First, 121);
  int visited = 0;
  auto failing = [&](TComObjectFactory&) {
    ++visited;
    throw EOleError("Error creating system registry entry");
  };
  EXPECT_THROW(ClassManager().VisitFactories(First, failing), EOleError);
  EXPECT_EQ(visited, 1);
  // Another thread, since this one could re-enter a lock it still held.
  TEvent found;
  {
    TThread lookup([&] {
      if (ClassManager().FindFactory(TestClassId(120))) found.Set();
    });
    EXPECT_TRUE(found.Wait());
  }
}

TEST_F(ClassManagerTest, ALookupWaitsWhileAnotherThreadWalks) {
  Make(First, 130);
  TEvent walking, finishWalk, found;
  std::atomic<bool> walkDone{false}, doneBeforeFound{false};
  TThread walker([&] {
    ClassManager().VisitFactories(First, [&](TComObjectFactory&) {
      walking.Set();
      finishWalk.Wait();
      walkDone = true;
    });
  });
  ASSERT_TRUE(walking.Wait());
  TThread lookup([&] {
    TComObjectFactory* factory = ClassManager().FindFactory(TestClassId(130));
    doneBeforeFound = walkDone.load();
    if (factory) found.Set();
  });
  EXPECT_FALSE(found.Wait(BlockedMilliseconds)) << "the lookup ran during the walk";
  finishWalk.Set();
  ASSERT_TRUE(found.Wait());
  EXPECT_TRUE(doneBeforeFound) << "the lookup finished before the walk";
}
