// The object factory: its class-factory interface, creation with the aggregation rule, the error box, the lock.
#include "ComTesting.h"
#include "support/Platform.h"

#include <gtest/gtest.h>

using namespace ComObj;
using namespace Testing;

class FactoryTest : public ::testing::Test {
protected:
  void SetUp() override {
    TLifeCounts::Reset();
    TFailingObject::Fail = true;
    TFailingObject::ThrowForeign = false;
  }

  TTestServer Server;
  TComObjectFactory Plain{Server, ClassOf<TPlainObject>, TestClassId(201), "", "Plain", imMultiUse, thApartment};
  TComObjectFactory Failing{Server, ClassOf<TFailingObject>, TestClassId(202), "", "", imMultiUse, thApartment};
};

TEST_F(FactoryTest, StartsListedWithTheGivenValuesAndLeavesTheRegistryWhenDestroyed) {
  TTestServer other;
  auto factory = std::make_unique<TComObjectFactory>(other, ClassOf<TPlainObject>, TestClassId(203), "Widget",
                                                     "A widget", imSingleUse, thBoth);
  EXPECT_EQ(ClassManager().FindFactory(TestClassId(203)), factory.get());
  EXPECT_EQ(&factory->Server(), &other);
  EXPECT_EQ(factory->FriendlyName(), "A widget");
  EXPECT_TRUE(::IsEqualGUID(factory->ErrorGuid(), IID_IUnknown));
  EXPECT_EQ(factory->RegCookie(), 0xFFFFFFFFu);
  EXPECT_TRUE(factory->ShowErrorBox());
  EXPECT_EQ(factory->ComposeProgId(), "tarntest.Widget");
  factory.reset();
  EXPECT_EQ(ClassManager().FindFactory(TestClassId(203)), nullptr);
}

TEST_F(FactoryTest, AnEmptyObjectNameComposesNoProgId) {
  Server.Title = "anything";
  EXPECT_EQ(Plain.ComposeProgId(), "");
}

// The class-factory interface's own counting -------------------------------------------------------------

TEST_F(FactoryTest, ReferencesAreTheServersFactoryCount) {
  EXPECT_EQ(Plain.AddRef(), 1u);
  EXPECT_EQ(Plain.AddRef(), 2u);
  Server.FactoryRefs += 10;  // another factory's references: the answer is the server's count
  EXPECT_EQ(Plain.Release(), 11u);
  Server.FactoryRefs -= 10;
  EXPECT_EQ(Plain.Release(), 0u);
  EXPECT_EQ(ClassManager().FindFactory(TestClassId(201)), &Plain) << "a last Release must not free the factory";
}

TEST_F(FactoryTest, QueriesGiveOnePointerForIUnknownAndIClassFactory) {
  void* unknown = nullptr;
  void* classFactory = nullptr;
  ASSERT_EQ(Plain.QueryInterface(IID_IUnknown, &unknown), S_OK);
  ASSERT_EQ(Plain.QueryInterface(IID_IClassFactory, &classFactory), S_OK);
  EXPECT_EQ(unknown, classFactory);
  EXPECT_EQ(Server.FactoryRefs, 2);
  void* other = &Plain;
  EXPECT_EQ(Plain.QueryInterface(IID_IDataObject, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(Plain.QueryInterface(IID_IClassFactory, nullptr), E_POINTER);
  EXPECT_EQ(Server.FactoryRefs, 2);
  Plain.Release(), Plain.Release();
}

// CreateInstance ------------------------------------------------------------------------------------------

TEST_F(FactoryTest, ANullOutLocationCreatesNothing) {
  EXPECT_EQ(Plain.CreateInstance(nullptr, __uuidof(ITestA), nullptr), E_POINTER);
  EXPECT_EQ(TLifeCounts::Constructed, 0);
}

TEST_F(FactoryTest, EachSupportedInterfaceIsHandedOutWithOneReference) {
  for (const IID* iid : {&__uuidof(ITestA), &__uuidof(ITestB), &IID_IUnknown, &IID_ISupportErrorInfo}) {
    void* out = nullptr;
    ASSERT_EQ(Plain.CreateInstance(nullptr, *iid, &out), S_OK);
    EXPECT_EQ(TLifeCounts::Last->RefCount(), 1);
    EXPECT_EQ(Server.Objects, 1);
    EXPECT_EQ(static_cast<IUnknown*>(out)->Release(), 0u);
    EXPECT_EQ(Server.Objects, 0);
  }
  EXPECT_EQ(TLifeCounts::Destroyed, 4);
}

TEST_F(FactoryTest, AnOuterObjectMayOnlyAskForIUnknown) {
  TOuterObject outer;
  for (const IID* iid : {&__uuidof(ITestA), &IID_ISupportErrorInfo, &IID_IClassFactory}) {
    void* out = &outer;
    EXPECT_EQ(Plain.CreateInstance(&outer, *iid, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
  }
  EXPECT_EQ(TLifeCounts::Constructed, 0);
  ASSERT_EQ(Plain.CreateInstance(&outer, IID_PPV_ARGS(&outer.Inner)), S_OK);
  EXPECT_EQ(TLifeCounts::Last->Controller(), &outer);
  outer.Inner->Release();
}

TEST_F(FactoryTest, AnUnsupportedInterfaceDestroysTheNewObject) {
  void* out = &Plain;
  EXPECT_EQ(Plain.CreateInstance(nullptr, IID_IDataObject, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(TLifeCounts::Constructed, 1);
  EXPECT_EQ(TLifeCounts::Destroyed, 1);
  EXPECT_EQ(Server.Objects, 0);
}

// A failed creation's box ---------------------------------------------------------------------------------

struct TBoxCase {
  const char* Message;
  const char* Shown;
};

class CreationFailureBoxTest : public FactoryTest, public ::testing::WithParamInterface<TBoxCase> {};

TEST_P(CreationFailureBoxTest, ShowsTheMessageWithTheFullStopRule) {
  TFailingObject::Message = GetParam().Message;
  TMessageBoxWatcher boxes;
  void* out = &Plain;
  EXPECT_EQ(Failing.CreateInstance(nullptr, IID_IUnknown, &out), E_UNEXPECTED);
  EXPECT_EQ(out, nullptr);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].Caption, "ZOV Error");
  EXPECT_EQ(boxes.Boxes()[0].Text, GetParam().Shown);
  EXPECT_EQ(boxes.Boxes()[0].Owner, nullptr);
  EXPECT_EQ(Server.Objects, 0);
}

INSTANTIATE_TEST_SUITE_P(Messages, CreationFailureBoxTest,
                         ::testing::Values(TBoxCase{"Out of memory", "Out of memory."}, TBoxCase{"", ""},
                                           TBoxCase{"Done.", "Done."}, TBoxCase{"Stop!", "Stop!"},
                                           TBoxCase{"(none)", "(none)"}, TBoxCase{"a-", "a-"}, TBoxCase{"a,", "a,"},
                                           TBoxCase{"Error 7", "Error 7."}, TBoxCase{"Why?", "Why?."},
                                           TBoxCase{"Key:", "Key:."}, TBoxCase{"Caf\xE9", "Caf\xE9."}));

TEST(CreationFailureText, TheLastCharacterDecides) {
  EXPECT_EQ(CreationFailureText("ends in a blank "), "ends in a blank ");
  EXPECT_EQ(CreationFailureText("tab\t"), "tab\t");
  EXPECT_EQ(CreationFailureText("slash/"), "slash/.");
}

TEST_F(FactoryTest, NoBoxWhenSwitchedOffOrForAForeignFailure) {
  TMessageBoxWatcher boxes;
  void* out = nullptr;
  Failing.SetShowErrorBox(false);
  EXPECT_EQ(Failing.CreateInstance(nullptr, IID_IUnknown, &out), E_UNEXPECTED);
  Failing.SetShowErrorBox(true);
  TFailingObject::ThrowForeign = true;
  EXPECT_EQ(Failing.CreateInstance(nullptr, IID_IUnknown, &out), E_UNEXPECTED);
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(TLifeCounts::Destroyed, 2);
}

// LockServer -----------------------------------------------------------------------------------------------

TEST_F(FactoryTest, ALockWeighsLikeALiveObject) {
  EXPECT_EQ(Plain.LockServer(TRUE), S_OK);
  EXPECT_EQ(Server.Objects, 1);
  EXPECT_EQ(Plain.LockServer(TRUE), S_OK);
  EXPECT_EQ(Server.Objects, 2);
  EXPECT_EQ(Plain.LockServer(FALSE), S_OK);
  EXPECT_EQ(Plain.LockServer(FALSE), S_OK);
  EXPECT_EQ(Server.Objects, 0);
  EXPECT_EQ(Server.FactoryRefs, 0) << "COM's own references on the factory are all returned";
}

TEST_F(FactoryTest, TwoServersCountTheirOwnFactories) {
  TTestServer other;
  TComObjectFactory second{other, ClassOf<TPlainObject>, TestClassId(204), "", "", imMultiUse, thApartment};
  Plain.AddRef();
  second.AddRef(), second.AddRef();
  EXPECT_EQ(Server.FactoryRefs, 1);
  EXPECT_EQ(other.FactoryRefs, 2);
  Plain.Release(), second.Release(), second.Release();
}
