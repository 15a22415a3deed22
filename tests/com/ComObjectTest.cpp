// The COM object base: counting, identity, table lookup order, aggregation, error info, destruction.
#include "ComTesting.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ComObj;
using namespace Testing;

namespace {

template <class Interface>
Interface* Query(IUnknown* from) {
  void* out = nullptr;
  return SUCCEEDED(from->QueryInterface(__uuidof(Interface), &out)) ? static_cast<Interface*>(out) : nullptr;
}

}  // namespace

class ComObjectTest : public ::testing::Test {
protected:
  void SetUp() override { TLifeCounts::Reset(); }
  void TearDown() override { FrameClosing = false; }

  // A new object with its first reference taken through ITestA, as a creator hands it out.
  template <class T>
  ITestA* Create(TComObjectFactory& factory) {
    TComObject* object = factory.NewComObject(nullptr);
    void* out = nullptr;
    EXPECT_EQ(object->InnerQueryInterface(__uuidof(ITestA), &out), S_OK);
    return static_cast<ITestA*>(out);
  }

  TTestServer Server;
  TComObjectFactory Plain{Server, ClassOf<TPlainObject>, TestClassId(1), "", "", imMultiUse, thApartment};
  TComObjectFactory Derived{Server, ClassOf<TDerivedObject>, TestClassId(2), "", "", imMultiUse, thApartment};
  TComObjectFactory Failing{Server, ClassOf<TFailingObject>, TestClassId(3), "", "", imMultiUse, thApartment};
};

// Counting ------------------------------------------------------------------------------------------------

TEST_F(ComObjectTest, CountedInTheServerFromConstructionToTheLastRelease) {
  TComObject* object = Plain.NewComObject(nullptr);
  EXPECT_EQ(object->RefCount(), 0);
  EXPECT_EQ(Server.Objects, 1);
  void* out = nullptr;
  ASSERT_EQ(object->InnerQueryInterface(__uuidof(ITestB), &out), S_OK);
  auto* b = static_cast<ITestB*>(out);
  EXPECT_EQ(b->Twice(21), 42);
  EXPECT_EQ(b->AddRef(), 2u);
  EXPECT_EQ(b->Release(), 1u);
  EXPECT_EQ(TLifeCounts::Destroyed, 0);
  EXPECT_EQ(b->Release(), 0u);
  EXPECT_EQ(TLifeCounts::Destroyed, 1);
  EXPECT_EQ(Server.Objects, 0);
}

TEST_F(ComObjectTest, AReferenceTakenAndDroppedWhilePreparingKeepsTheObject) {
  TComObjectFactory factory{Server, ClassOf<TSelfReferencingObject>, TestClassId(4), "", "", imMultiUse, thSingle};
  TComObject* object = factory.NewComObject(nullptr);
  EXPECT_EQ(TSelfReferencingObject::SeenCount, 1);
  EXPECT_EQ(TLifeCounts::Destroyed, 0);
  EXPECT_EQ(object->RefCount(), 0);
  object->Destroy();
  EXPECT_EQ(TLifeCounts::Destroyed, 1);
  EXPECT_EQ(Server.Objects, 0);
}

TEST_F(ComObjectTest, ReferencesFromManyThreadsBalance) {
  ITestA* a = Create<TPlainObject>(Plain);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([a] {
      for (int i = 0; i < 20000; ++i) a->AddRef(), a->Release();
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(TLifeCounts::Destroyed, 0);
  EXPECT_EQ(a->Release(), 0u);
  EXPECT_EQ(TLifeCounts::Destroyed, 1);
}

// Identity and lookup -----------------------------------------------------------------------------------

TEST_F(ComObjectTest, EveryInterfaceGivesTheSameIdentity) {
  ITestA* a = Create<TPlainObject>(Plain);
  TComObject* object = TLifeCounts::Last;
  ITestB* b = Query<ITestB>(a);
  ISupportErrorInfo* info = Query<ISupportErrorInfo>(b);
  ASSERT_TRUE(b && info);
  EXPECT_EQ(object->RefCount(), 3);
  for (IUnknown* through : std::initializer_list<IUnknown*>{a, b, info, object->IdentityUnknown()}) {
    IUnknown* identity = Query<IUnknown>(through);
    EXPECT_EQ(identity, object->IdentityUnknown());
    EXPECT_EQ(object->RefCount(), 4);
    identity->Release();
  }
  EXPECT_EQ(Query<ITestB>(info), b);
  b->Release(), b->Release(), info->Release(), a->Release();
  EXPECT_EQ(TLifeCounts::Destroyed, 1);
}

TEST_F(ComObjectTest, AnUnknownInterfaceIsRefusedWithoutCounting) {
  ITestA* a = Create<TPlainObject>(Plain);
  void* out = a;
  EXPECT_EQ(a->QueryInterface(IID_IDataObject, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(a->QueryInterface(__uuidof(ITestC), &out), E_NOINTERFACE);
  EXPECT_EQ(TLifeCounts::Last->RefCount(), 1);
  EXPECT_EQ(a->QueryInterface(__uuidof(ITestB), nullptr), E_POINTER);
  EXPECT_EQ(TLifeCounts::Last->IdentityUnknown()->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
  EXPECT_EQ(TLifeCounts::Last->RefCount(), 1);
  a->Release();
}

TEST_F(ComObjectTest, TheMostDerivedTableIsSearchedFirst) {
  ITestA* a = Create<TDerivedObject>(Derived);
  auto* object = static_cast<TDerivedObject*>(TLifeCounts::Last);
  // ITestAlias shares ITestA's identifier: the derived class's entry wins over the parent's ITestA.
  EXPECT_EQ(static_cast<void*>(a), static_cast<void*>(static_cast<ITestAlias*>(object)));
  ITestC* c = Query<ITestC>(a);
  ITestB* b = Query<ITestB>(c);
  ASSERT_TRUE(c && b);
  EXPECT_EQ(c->Depth(), 2);
  EXPECT_EQ(b->Twice(4), 8);
  c->Release(), b->Release(), a->Release();
  EXPECT_EQ(TLifeCounts::Destroyed, 1);
}

TEST_F(ComObjectTest, WithinOneTableTheEarlierEntryWins) {
  TComObjectFactory factory{Server, ClassOf<TTwoEntriesObject>, TestClassId(5), "", "", imMultiUse, thSingle};
  TComObject* object = factory.NewComObject(nullptr);
  void* out = nullptr;
  ASSERT_EQ(object->InnerQueryInterface(__uuidof(ITestA), &out), S_OK);
  EXPECT_EQ(out, static_cast<void*>(static_cast<ITestAlias*>(static_cast<TTwoEntriesObject*>(object))));
  object->Release();
}

TEST_F(ComObjectTest, ErrorInfoIsSupportedForEveryTabledInterface) {
  ITestA* a = Create<TDerivedObject>(Derived);
  ISupportErrorInfo* info = Query<ISupportErrorInfo>(a);
  ASSERT_TRUE(info);
  for (const IID* iid :
       {&__uuidof(ITestA), &__uuidof(ITestB), &__uuidof(ITestC), &IID_ISupportErrorInfo, &IID_IUnknown})
    EXPECT_EQ(info->InterfaceSupportsErrorInfo(*iid), S_OK);
  EXPECT_EQ(info->InterfaceSupportsErrorInfo(IID_IDataObject), S_FALSE);
  EXPECT_EQ(info->InterfaceSupportsErrorInfo(IID_IClassFactory), S_FALSE);
  info->Release(), a->Release();

  ITestA* plain = Create<TPlainObject>(Plain);
  EXPECT_EQ(TLifeCounts::Last->InterfaceSupportsErrorInfo(__uuidof(ITestC)), S_FALSE);
  plain->Release();
}

// Aggregation -------------------------------------------------------------------------------------------

class AggregationTest : public ComObjectTest {
protected:
  void SetUp() override {
    ComObjectTest::SetUp();
    ASSERT_EQ(Plain.CreateInstance(&Outer, IID_PPV_ARGS(&Outer.Inner)), S_OK);
    Inner = TLifeCounts::Last;
  }

  TOuterObject Outer;
  TComObject* Inner = nullptr;
};

TEST_F(AggregationTest, TheOuterObjectHoldsTheIdentityAndOnlyItCountsTheInner) {
  EXPECT_EQ(Outer.Inner, Inner->IdentityUnknown());
  EXPECT_EQ(Inner->Controller(), &Outer);
  EXPECT_EQ(Inner->RefCount(), 1);
  EXPECT_EQ(Outer.References(), 1u) << "the inner object must not count its controller";
  EXPECT_EQ(Server.Objects, 1);
  EXPECT_EQ(Outer.Inner->Release(), 0u);
  EXPECT_EQ(TLifeCounts::Destroyed, 1);
  EXPECT_EQ(Server.Objects, 0);
}

TEST_F(AggregationTest, DelegatingInterfacesReachTheOuterObject) {
  // Asked through the identity: the inner tables answer, the reference goes to the controller.
  ITestA* a = Query<ITestA>(&Outer);
  ASSERT_TRUE(a);
  EXPECT_EQ(Outer.References(), 2u);
  EXPECT_EQ(Inner->RefCount(), 1);

  EXPECT_EQ(a->AddRef(), 3u);
  EXPECT_EQ(Outer.References(), 3u);
  EXPECT_EQ(a->Release(), 2u);
  EXPECT_EQ(Outer.References(), 2u);

  int queriesBefore = Outer.Queries;
  ITestB* b = Query<ITestB>(a);
  ASSERT_TRUE(b);
  EXPECT_EQ(Outer.Queries, queriesBefore + 1);
  EXPECT_EQ(Outer.References(), 3u);
  EXPECT_EQ(Query<IUnknown>(a), static_cast<IUnknown*>(&Outer)) << "the aggregate's identity is the outer object";
  EXPECT_EQ(Inner->RefCount(), 1);

  b->Release(), a->Release(), Outer.Release();
  EXPECT_EQ(Outer.References(), 1u);
  EXPECT_EQ(TLifeCounts::Destroyed, 0);
  Outer.Inner->Release();
  EXPECT_EQ(TLifeCounts::Destroyed, 1);
}

TEST_F(AggregationTest, TheIdentityAnswersForTheInnerObjectItself) {
  int queriesBefore = Outer.Queries;
  void* out = nullptr;
  ASSERT_EQ(Outer.Inner->QueryInterface(IID_IUnknown, &out), S_OK);
  EXPECT_EQ(out, Outer.Inner);
  EXPECT_EQ(Inner->RefCount(), 2);
  EXPECT_EQ(Outer.Queries, queriesBefore);
  Outer.Inner->Release();
  Outer.Inner->Release();
}

// Destruction -------------------------------------------------------------------------------------------

class DestructionTest : public ComObjectTest {
protected:
  void SetUp() override {
    ComObjectTest::SetUp();
    TFailingObject::Disconnections = 0;
    TFailingObject::Fail = true;
  }
};

TEST_F(DestructionTest, AFailureWhilePreparingUncountsAndDisconnectsOnce) {
  EXPECT_THROW(Failing.NewComObject(nullptr), Exception);
  EXPECT_EQ(TLifeCounts::Constructed, 1);
  EXPECT_EQ(TLifeCounts::Destroyed, 1);
  EXPECT_EQ(Server.Objects, 0);
  EXPECT_EQ(TFailingObject::Disconnections, 1);
}

TEST_F(DestructionTest, WhileTheFrameClosesNothingIsUncountedOrDisconnected) {
  ITestA* a = Create<TPlainObject>(Plain);
  FrameClosing = true;
  EXPECT_EQ(a->Release(), 0u);
  EXPECT_EQ(TLifeCounts::Destroyed, 1);
  EXPECT_EQ(Server.Objects, 1);

  EXPECT_THROW(Failing.NewComObject(nullptr), Exception);
  EXPECT_EQ(TFailingObject::Disconnections, 0);
  EXPECT_EQ(Server.Objects, 2);
}

TEST_F(DestructionTest, ALastReleaseDoesNotDisconnect) {
  TFailingObject::Fail = false;
  TComObject* object = Failing.NewComObject(nullptr);
  void* out = nullptr;
  ASSERT_EQ(object->InnerQueryInterface(IID_IMarshal, &out), S_OK);
  static_cast<IMarshal*>(out)->Release();
  EXPECT_EQ(TLifeCounts::Destroyed, 1);
  EXPECT_EQ(TFailingObject::Disconnections, 0);
  EXPECT_EQ(Server.Objects, 0);
}
