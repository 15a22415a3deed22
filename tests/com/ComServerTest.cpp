// The server module object: its counts, the module's path and title, the registration and destruction walks.
#include "ComTesting.h"
#include "support/Platform.h"

#include "com/ComServer.h"
#include "win32/Module.h"
#include "win32/Text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

using namespace ComObj;
using namespace ComServ;
using namespace Testing;

namespace {

std::string ThisProgram() { return Win32::Narrowed(Win32::ModulePath()); }

// Records the registration calls it receives and counts its own destruction.
class TRecordingFactory : public TComObjectFactory {
public:
  TRecordingFactory(TComServerObject& server, unsigned id, TInstancingMode instancing, std::vector<std::string>& calls,
                    int& destroyed, bool fail = false)
      : TComObjectFactory(server, ClassOf<TPlainObject>, TestClassId(id), "", std::to_string(id), instancing,
                          thApartment),
        FCalls(calls),
        FDestroyed(destroyed),
        FFail(fail) {}
  ~TRecordingFactory() override { ++FDestroyed; }
  void ApplyRegistration(bool registering) override {
    FCalls.push_back(FriendlyName() + (registering ? "+" : "-"));
    if (FFail) throw EOleError("Error creating system registry entry");
  }

private:
  std::vector<std::string>& FCalls;
  int& FDestroyed;
  bool FFail;
};

}  // namespace

class ComServerTest : public ::testing::Test {
protected:
  void TearDown() override { ModuleIsLibrary = true; }
  std::vector<std::string> Calls;
  int Destroyed = 0;
};

TEST_F(ComServerTest, StartsWithNoCountsAndTheLibraryKeyName) {
  TComServer server;
  EXPECT_EQ(server.LiveObjects(), 0);
  EXPECT_EQ(server.FactoryRefs(), 0);
  EXPECT_EQ(server.RegistrationKeyName(), "InprocServer32");
  EXPECT_EQ(server.LaunchMode(), lmNormal);
  EXPECT_FALSE(server.RegistersSuspended());
  EXPECT_EQ(server.HelpFilePath(), "");
  server.SetHelpFilePath("C:\\help.chm");
  EXPECT_EQ(server.HelpFilePath(), "C:\\help.chm");
  ModuleIsLibrary = false;
  EXPECT_EQ(TComServer().RegistrationKeyName(), "LocalServer32");
}

TEST_F(ComServerTest, CountsChangeOneAtATimeAndAnswerTheNewValue) {
  TComServer server;
  EXPECT_EQ(server.AdjustObjectCount(true), 1);
  EXPECT_EQ(server.AdjustObjectCount(true), 2);
  EXPECT_EQ(server.AdjustObjectCount(false), 1);
  EXPECT_EQ(server.AdjustFactoryCount(true), 1);
  EXPECT_EQ(server.AdjustFactoryCount(false), 0);
  EXPECT_EQ(server.LiveObjects(), 1);
}

TEST_F(ComServerTest, PathAndTitleComeFromTheModuleFile) {
  TComServer server;
  EXPECT_EQ(server.ServerFilePath(), ThisProgram());
  EXPECT_EQ(server.ServerTitle(), "com_tests");
  EXPECT_EQ(ModuleBaseName(), "com_tests");
}

TEST_F(ComServerTest, TheTitleFollowsTheFileNameTheModuleWasLoadedUnder) {
  TTempFolder folder;
  std::filesystem::path copy = folder.Path() / "Renamed Server.v2.dll";
  std::filesystem::copy_file(std::filesystem::path(ThisProgram()).parent_path() / "standin.exe", copy);
  Win32::TLibrary module(::LoadLibraryExA(copy.string().c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES));
  ASSERT_TRUE(module);
  SetModuleInstance(module.get());
  TComServer server;
  std::string title = server.ServerTitle(), path = server.ServerFilePath();
  SetModuleInstance(nullptr);
  EXPECT_EQ(title, "Renamed Server.v2");
  EXPECT_EQ(std::filesystem::path(path).filename(), "Renamed Server.v2.dll");
}

TEST_F(ComServerTest, AModuleWithoutTypeLibraryRaisesAndStoresNothing) {
  TComServer server;
  EXPECT_THROW(server.TypeLibrary(), EOleSysError);
  EXPECT_EQ(server.ServerTitle(), "com_tests");
}

TEST_F(ComServerTest, RegistrationWalksItsOwnRegisteredFactoriesNewestFirst) {
  TComServer server;
  TTestServer other;
  TRecordingFactory a(server, 301, imMultiUse, Calls, Destroyed), hidden(server, 302, imInternal, Calls, Destroyed),
      foreign(other, 303, imMultiUse, Calls, Destroyed), b(server, 304, imSingleUse, Calls, Destroyed);
  server.UpdateServerRegistration(true);
  EXPECT_TRUE(server.Registering());
  server.UpdateServerRegistration(false);
  EXPECT_FALSE(server.Registering());
  EXPECT_EQ(Calls, (std::vector<std::string>{"304+", "301+", "304-", "301-"}));
}

TEST_F(ComServerTest, AFailingFactoryEndsTheRegistrationWalk) {
  TComServer server;
  TRecordingFactory first(server, 305, imMultiUse, Calls, Destroyed),
      failing(server, 306, imMultiUse, Calls, Destroyed, true);
  EXPECT_THROW(server.UpdateServerRegistration(true), EOleError);
  EXPECT_EQ(Calls, (std::vector<std::string>{"306+"}));
}

TEST_F(ComServerTest, DestructionDestroysItsOwnFactoriesAndNoOthers) {
  auto server = std::make_unique<TComServer>();
  TTestServer other;
  new TRecordingFactory(*server, 307, imMultiUse, Calls, Destroyed);
  new TRecordingFactory(*server, 308, imInternal, Calls, Destroyed);
  TRecordingFactory kept(other, 309, imMultiUse, Calls, Destroyed);
  new TRecordingFactory(*server, 310, imMultiUse, Calls, Destroyed);
  server.reset();
  EXPECT_EQ(Destroyed, 3);
  for (unsigned id : {307u, 308u, 310u}) EXPECT_EQ(ClassManager().FindFactory(TestClassId(id)), nullptr) << id;
  EXPECT_EQ(ClassManager().FindFactory(TestClassId(309)), &kept);
}

TEST_F(ComServerTest, TheModuleServerComesAndGoesWithItsFactories) {
  CreateModuleServer();
  ASSERT_TRUE(ModuleServer);
  new TRecordingFactory(*ModuleServer, 311, imMultiUse, Calls, Destroyed);
  DestroyModuleServer();
  EXPECT_FALSE(ModuleServer);
  EXPECT_EQ(Destroyed, 1);
  EXPECT_EQ(ClassManager().FindFactory(TestClassId(311)), nullptr);
}

// The unload order: the server module goes first, then the frame closes and frees the emptied registry.
TEST_F(ComServerTest, TheFrameClosesAfterTheModuleServer) {
  CreateModuleServer();
  new TRecordingFactory(*ModuleServer, 312, imMultiUse, Calls, Destroyed);
  TTestServer objects;
  TComObjectFactory plain(objects, ClassOf<TPlainObject>, TestClassId(313), "", "", imMultiUse, thApartment);
  TComObject* survivor = plain.NewComObject(nullptr);
  DestroyModuleServer();
  FinalizeComFrame();
  EXPECT_TRUE(FrameClosing);
  survivor->Destroy();
  EXPECT_EQ(objects.Objects, 1) << "an object outliving the frame must not reach its server";
  FrameClosing = false;
  EXPECT_EQ(Destroyed, 1);
  EXPECT_EQ(ClassManager().FindFactory(TestClassId(313)), nullptr) << "a new registry starts empty";
}
