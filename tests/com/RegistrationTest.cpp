// The class's registry entries, written into a private stand-in for HKEY_CLASSES_ROOT and read back.
#include "ComTesting.h"
#include "support/Platform.h"

#include <gtest/gtest.h>

using namespace ComObj;
using namespace Testing;

namespace {

const GUID ClassId = {0x5D3E8A41, 0x7C2B, 0x4F96, {0xA1, 0xE0, 0x3B, 0x9C, 0x6D, 0x2F, 0x8E, 0x17}};
const std::string ClassKey = "CLSID\\{5D3E8A41-7C2B-4F96-A1E0-3B9C6D2F8E17}";
const std::string ServerKey = ClassKey + "\\InprocServer32";
const std::string Description = "Orrery 4.0 Context Menu Shell Extension Example";

}  // namespace

TEST(ClassIdText, IsBracedUpperCaseHexInGroups) {
  EXPECT_EQ(ClassIdToText(ClassId), "{5D3E8A41-7C2B-4F96-A1E0-3B9C6D2F8E17}");
  EXPECT_EQ(ClassIdToText(IID_IUnknown), "{00000000-0000-0000-C000-000000000046}");
}

class RegistrationTest : public ::testing::Test {
protected:
  void TearDown() override { ModuleIsLibrary = true; }

  std::unique_ptr<TComObjectFactory> Factory(const std::string& name = "", TThreadModel model = thApartment,
                                             TInstancingMode instancing = imMultiUse) {
    return std::make_unique<TComObjectFactory>(Server, ClassOf<TPlainObject>, ClassId, name, Description, instancing,
                                               model);
  }
  TRegistryTree Tree() const { return ReadTree(Classes.Key()); }
  // What registering a factory without a ProgID writes, with this threading-model value (none if null).
  TRegistryTree ClassEntries(const char* threadingModel, const std::string& path = "C:\\tarnctx\\test.dll") const {
    TRegistryTree tree{{"CLSID", {}}, {ClassKey, {{"", Description}}}, {ServerKey, {{"", path}}}};
    if (threadingModel) tree[ServerKey]["ThreadingModel"] = threadingModel;
    return tree;
  }

  TRedirectedClassesRoot Classes;
  TTestServer Server;
};

TEST_F(RegistrationTest, WritesExactlyTheClassKeyAndItsServerKey) {
  Factory()->ApplyRegistration(true);
  EXPECT_EQ(Tree(), ClassEntries("Apartment"));
}

struct TModelCase {
  TThreadModel Model;
  const char* Written;
};

class ThreadingModelTest : public RegistrationTest, public ::testing::WithParamInterface<TModelCase> {};

TEST_P(ThreadingModelTest, IsWrittenByName) {
  Factory("", GetParam().Model)->ApplyRegistration(true);
  EXPECT_EQ(Tree(), ClassEntries(GetParam().Written));
}

INSTANTIATE_TEST_SUITE_P(Models, ThreadingModelTest,
                         ::testing::Values(TModelCase{thSingle, nullptr}, TModelCase{thApartment, "Apartment"},
                                           TModelCase{thFree, "Free"}, TModelCase{thBoth, "Both"}));

TEST_F(RegistrationTest, AnExecutableServerWritesItsKeyWithoutThreadingModel) {
  ModuleIsLibrary = false;
  Server.KeyName = "LocalServer32";
  Factory()->ApplyRegistration(true);
  TRegistryTree expected{
      {"CLSID", {}}, {ClassKey, {{"", Description}}}, {ClassKey + "\\LocalServer32", {{"", "C:\\tarnctx\\test.dll"}}}};
  EXPECT_EQ(Tree(), expected);
}

TEST_F(RegistrationTest, AnInternalClassWritesAndDeletesNothing) {
  auto factory = Factory("Widget", thApartment, imInternal);
  factory->ApplyRegistration(true);
  EXPECT_TRUE(Tree().empty());
  Factory()->ApplyRegistration(true);
  factory->ApplyRegistration(false);
  EXPECT_EQ(Tree(), ClassEntries("Apartment"));
}

TEST_F(RegistrationTest, AProgIdIsWrittenBothWaysAndRemovedDeepestFirst) {
  auto factory = Factory("Widget");
  factory->ApplyRegistration(true);
  TRegistryTree expected = ClassEntries("Apartment");
  expected[ClassKey + "\\ProgID"] = {{"", "tarntest.Widget"}};
  expected["tarntest.Widget"] = {{"", Description}};
  expected["tarntest.Widget\\Clsid"] = {{"", "{5D3E8A41-7C2B-4F96-A1E0-3B9C6D2F8E17}"}};
  EXPECT_EQ(Tree(), expected);
  factory->ApplyRegistration(false);
  EXPECT_EQ(Tree(), (TRegistryTree{{"CLSID", {}}}));
}

TEST_F(RegistrationTest, RegisteringTwiceLeavesTheSameEntries) {
  auto factory = Factory();
  factory->ApplyRegistration(true);
  factory->ApplyRegistration(true);
  EXPECT_EQ(Tree(), ClassEntries("Apartment"));
}

TEST_F(RegistrationTest, UnregisteringRemovesTheEntriesAndCopesWithNothingRegistered) {
  auto factory = Factory();
  EXPECT_NO_THROW(factory->ApplyRegistration(false));
  EXPECT_TRUE(Tree().empty());
  factory->ApplyRegistration(true);
  factory->ApplyRegistration(false);
  EXPECT_EQ(Tree(), (TRegistryTree{{"CLSID", {}}}));
}

TEST_F(RegistrationTest, AClassKeyWithAnotherSubkeyOutlivesUnregistration) {
  auto factory = Factory();
  factory->ApplyRegistration(true);
  WriteRootValue(ClassKey + "\\Implemented Categories", "", "kept");
  factory->ApplyRegistration(false);
  TRegistryTree expected{
      {"CLSID", {}}, {ClassKey, {{"", Description}}}, {ClassKey + "\\Implemented Categories", {{"", "kept"}}}};
  EXPECT_EQ(Tree(), expected);
}

// The registered path ---------------------------------------------------------------------------------------

TEST_F(RegistrationTest, APathWithABlankIsRegisteredInItsShortForm) {
  TTempFolder folder("tarnctx blank");
  Server.Path = folder.File("server file.dll");
  char expected[MAX_PATH];
  DWORD length = ::GetShortPathNameA(Server.Path.c_str(), expected, MAX_PATH);
  ASSERT_GT(length, 0u);
  ASSERT_EQ(std::string(expected).find(' '), std::string::npos) << expected;
  Factory()->ApplyRegistration(true);
  EXPECT_EQ(Tree()[ServerKey][""], expected);
}

TEST_F(RegistrationTest, APathWithABlankButNoShortFormIsRegisteredUnchanged) {
  Server.Path = "C:\\no such folder\\tarnctx.dll";
  Factory()->ApplyRegistration(true);
  EXPECT_EQ(Tree()[ServerKey][""], Server.Path);
}

TEST_F(RegistrationTest, APathWithoutBlanksIsRegisteredUnchanged) {
  Server.Path = "C:\\Program_Files\\Velmora\\tarnctx.dll";
  Factory()->ApplyRegistration(true);
  EXPECT_EQ(Tree()[ServerKey][""], Server.Path);
}

// Failure ---------------------------------------------------------------------------------------------------

TEST_F(RegistrationTest, AFailedSecondEntryLeavesTheFirstAndIsRaised) {
  // Under a volatile class key the non-volatile server key cannot be created.
  Win32::TRegKey volatileKey;
  ASSERT_EQ(::RegCreateKeyExA(Classes.Key(), ClassKey.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                              volatileKey.put(), nullptr),
            ERROR_SUCCESS);
  try {
    Factory()->ApplyRegistration(true);
    FAIL() << "nothing was raised";
  } catch (const EOleError& failure) {
    EXPECT_EQ(failure.Message(), "Error creating system registry entry");
  }
  EXPECT_EQ(Tree(), (TRegistryTree{{"CLSID", {}}, {ClassKey, {{"", Description}}}}));
}
