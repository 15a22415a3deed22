// The four entry points over ModuleServer and the registry: class objects, the unload answer, registration.
#include "ComTesting.h"

#include "com/ComServer.h"
#include "com/EntryPoints.h"

#include <gtest/gtest.h>

using namespace ComObj;
using namespace ComServ;
using namespace Testing;

class EntryPointsTest : public ::testing::Test {
protected:
  void SetUp() override {
    TLifeCounts::Reset();
    CreateModuleServer();
    // Destroyed with ModuleServer, as the library's own factory is.
    Factory = new TComObjectFactory(*ModuleServer, ClassOf<TPlainObject>, TestClassId(401), "", "Entry test",
                                    imMultiUse, thApartment);
  }
  void TearDown() override { DestroyModuleServer(); }

  IClassFactory* ClassObject() {
    void* out = nullptr;
    EXPECT_EQ(ComServ::DllGetClassObject(TestClassId(401), IID_IClassFactory, &out), S_OK);
    return static_cast<IClassFactory*>(out);
  }

  TComObjectFactory* Factory = nullptr;
};

// DllGetClassObject ------------------------------------------------------------------------------------------

TEST_F(EntryPointsTest, HandsOutTheFactoryCountedOnce) {
  IClassFactory* classObject = ClassObject();
  EXPECT_EQ(classObject, static_cast<IClassFactory*>(Factory));
  EXPECT_EQ(ModuleServer->FactoryRefs(), 1);
  classObject->Release();
  EXPECT_EQ(ModuleServer->FactoryRefs(), 0);
}

TEST_F(EntryPointsTest, FindsFactoriesOfEveryServer) {
  TTestServer other;
  TComObjectFactory foreign(other, ClassOf<TPlainObject>, TestClassId(402), "", "", imMultiUse, thApartment);
  void* out = nullptr;
  ASSERT_EQ(ComServ::DllGetClassObject(TestClassId(402), IID_IUnknown, &out), S_OK);
  EXPECT_EQ(out, static_cast<IClassFactory*>(&foreign));
  EXPECT_EQ(other.FactoryRefs, 1);
  static_cast<IUnknown*>(out)->Release();
}

TEST_F(EntryPointsTest, RefusalsLeaveNullAndNoCount) {
  void* out = this;
  EXPECT_EQ(ComServ::DllGetClassObject(TestClassId(499), IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  out = this;
  EXPECT_EQ(ComServ::DllGetClassObject(TestClassId(401), IID_IDataObject, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(ComServ::DllGetClassObject(TestClassId(401), IID_IClassFactory, nullptr), E_POINTER);
  EXPECT_EQ(ModuleServer->FactoryRefs(), 0);
}

// DllCanUnloadNow --------------------------------------------------------------------------------------------

TEST_F(EntryPointsTest, UnloadIsRefusedWhileAnythingIsAlive) {
  EXPECT_EQ(ComServ::DllCanUnloadNow(), S_OK);

  IClassFactory* classObject = ClassObject();
  EXPECT_EQ(ComServ::DllCanUnloadNow(), S_FALSE);

  void* object = nullptr;
  ASSERT_EQ(classObject->CreateInstance(nullptr, __uuidof(ITestA), &object), S_OK);
  classObject->Release();
  EXPECT_EQ(ComServ::DllCanUnloadNow(), S_FALSE) << "a live object";
  static_cast<IUnknown*>(object)->Release();
  EXPECT_EQ(ComServ::DllCanUnloadNow(), S_OK);

  classObject = ClassObject();
  ASSERT_EQ(classObject->LockServer(TRUE), S_OK);
  classObject->Release();
  EXPECT_EQ(ComServ::DllCanUnloadNow(), S_FALSE) << "a server lock";
  ASSERT_EQ(Factory->LockServer(FALSE), S_OK);
  EXPECT_EQ(ComServ::DllCanUnloadNow(), S_OK);

  DestroyModuleServer();
  EXPECT_EQ(ComServ::DllCanUnloadNow(), S_OK);
}

// DllRegisterServer and DllUnregisterServer -----------------------------------------------------------------

class EntryRegistrationTest : public EntryPointsTest {
protected:
  const std::string ClassKey = "CLSID\\" + ClassIdToText(TestClassId(401));
  TRedirectedClassesRoot Classes;
};

TEST_F(EntryRegistrationTest, RegistersTheModulesOwnPathAndUnregistersAgain) {
  TTestServer other;
  TComObjectFactory foreign(other, ClassOf<TPlainObject>, TestClassId(403), "", "", imMultiUse, thApartment);
  ASSERT_EQ(ComServ::DllRegisterServer(), S_OK);
  TRegistryTree tree = ReadTree(Classes.Key());
  std::string path = ModulePath();
  TRegistryTree expected{{"CLSID", {}},
                         {ClassKey, {{"", "Entry test"}}},
                         {ClassKey + "\\InprocServer32", {{"", path}, {"ThreadingModel", "Apartment"}}}};
  // A checkout under a folder with a blank registers the short form, which the registration tests cover.
  std::string& registeredPath = expected[ClassKey + "\\InprocServer32"][""];
  if (path.find(' ') != std::string::npos) registeredPath = tree[ClassKey + "\\InprocServer32"][""];
  EXPECT_EQ(tree, expected) << "only the module server's factories register";

  ASSERT_EQ(ComServ::DllUnregisterServer(), S_OK);
  EXPECT_EQ(ReadTree(Classes.Key()), (TRegistryTree{{"CLSID", {}}}));
  EXPECT_EQ(ComServ::DllUnregisterServer(), S_OK);
}

TEST_F(EntryRegistrationTest, AFailedEntryAnswersEFailAndKeepsWhatWasWritten) {
  Win32::TRegKey volatileKey;
  ASSERT_EQ(::RegCreateKeyExA(Classes.Key(), ClassKey.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                              volatileKey.put(), nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(ComServ::DllRegisterServer(), E_FAIL);
  EXPECT_EQ(ReadTree(Classes.Key()), (TRegistryTree{{"CLSID", {}}, {ClassKey, {{"", "Entry test"}}}}));
}

TEST_F(EntryRegistrationTest, WithoutTheModuleServerRegistrationFails) {
  DestroyModuleServer();
  EXPECT_EQ(ComServ::DllRegisterServer(), E_FAIL);
  EXPECT_EQ(ComServ::DllUnregisterServer(), E_FAIL);
  EXPECT_TRUE(ReadTree(Classes.Key()).empty());
}
