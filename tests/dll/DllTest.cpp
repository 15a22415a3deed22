// The built tarnctx.dll, loaded and driven as COM, registration tools and Explorer drive it.
#include "dll/LoadedLibrary.h"
#include "win32/Handles.h"
#include "support/ClassesRoot.h"
#include "shell/HandlerClass.h"
#include "support/Menus.h"
#include "support/Platform.h"
#include "tools/ShellDataObject.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <thread>

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
using namespace DllTesting;

namespace {

const CLSID& HandlerClass = ContextM::CLSID_TarnwickContextMenu;
const char HandlerClassText[] = "{5D3E8A41-7C2B-4F96-A1E0-3B9C6D2F8E17}";
const char Description[] = "Orrery 4.0 Context Menu Shell Extension Example";

}  // namespace

// Exports and the handler class --------------------------------------------------------------------

class LibraryTest : public ::testing::Test {
protected:
  TLoadedLibrary Library{BuiltLibrary()};
};

TEST_F(LibraryTest, ClassObjectIsHandedOutOnlyForTheLibrarysTwoClasses) {
  for (const CLSID* served : {&HandlerClass, &ContextM::CLSID_TarnwickExplorerCommand}) {
    TRef<IClassFactory> factory = Library.Factory(*served);
    ASSERT_TRUE(factory);
    EXPECT_EQ(Library.CanUnloadNow(), S_FALSE);
  }
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(Library.GetClassObject(IID_IUnknown, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  out = reinterpret_cast<void*>(1);
  EXPECT_EQ(Library.GetClassObject(HandlerClass, IID_IDataObject, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(Library.GetClassObject(HandlerClass, IID_IClassFactory, nullptr), E_POINTER);
  EXPECT_EQ(Library.CanUnloadNow(), S_OK) << "a refused request left a reference counted";
}

TEST_F(LibraryTest, UnloadIsRefusedWhileAFactoryReferenceObjectOrLockLives) {
  EXPECT_EQ(Library.CanUnloadNow(), S_OK);
  TRef<IClassFactory> factory = Library.Factory();
  ASSERT_TRUE(factory);
  EXPECT_EQ(Library.CanUnloadNow(), S_FALSE);

  IContextMenu* menu = nullptr;
  ASSERT_EQ(factory.get()->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
  TRef<IContextMenu> object(menu);
  EXPECT_EQ(factory.get()->LockServer(TRUE), S_OK);
  factory.reset();
  EXPECT_EQ(Library.CanUnloadNow(), S_FALSE) << "the object and the lock";
  object.reset();
  EXPECT_EQ(Library.CanUnloadNow(), S_FALSE) << "the lock";
  Library.Factory().get()->LockServer(FALSE);
  EXPECT_EQ(Library.CanUnloadNow(), S_OK);
}

TEST_F(LibraryTest, HandlerObjectHasOneIdentityAndItsTwoShellInterfaces) {
  TRef<IClassFactory> factory = Library.Factory();
  IContextMenu* created = nullptr;
  ASSERT_EQ(factory.get()->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&created)), S_OK);
  TRef<IContextMenu> menu(created);
  TRef<IShellExtInit> init = Query<IShellExtInit>(menu.get(), IID_IShellExtInit);
  ASSERT_TRUE(init);
  TRef<IUnknown> fromMenu = Query<IUnknown>(menu.get(), IID_IUnknown);
  TRef<IUnknown> fromInit = Query<IUnknown>(init.get(), IID_IUnknown);
  EXPECT_EQ(fromMenu.get(), fromInit.get());
  EXPECT_EQ(Query<IContextMenu>(init.get(), IID_IContextMenu).get(), menu.get());
  EXPECT_TRUE(Query<ISupportErrorInfo>(menu.get(), IID_ISupportErrorInfo));
  void* other = reinterpret_cast<void*>(1);
  EXPECT_EQ(menu.get()->QueryInterface(IID_IDataObject, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(menu.get()->QueryInterface(IID_IContextMenu, nullptr), E_POINTER);
}

TEST_F(LibraryTest, CarriesItsBitmapsAndVersion) {
  HMODULE module = ::GetModuleHandleA(BuiltLibrary().string().c_str());
  for (const char* name : {"ENC", "ENCSEND", "ICON1", "ICON2", "SHRED"})
    EXPECT_NE(::FindResourceA(module, name, MAKEINTRESOURCEA(2)), nullptr) << name;  // RT_BITMAP
  std::string path = BuiltLibrary().string();
  std::vector<char> version(::GetFileVersionInfoSizeA(path.c_str(), nullptr));
  ASSERT_FALSE(version.empty());
  ASSERT_TRUE(::GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(version.size()), version.data()));
  char* text = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueA(version.data(), "\\StringFileInfo\\040904E4\\OriginalFilename",
                               reinterpret_cast<void**>(&text), &length));
  EXPECT_STREQ(text, "tarnctx.dll");
}

TEST(LibraryLoadTest, LoadingLeavesComToTheHost) {
  // On a thread of its own, so that this thread's apartment says nothing.
  HRESULT afterLoad = E_FAIL;
  std::thread([&] {
    TLoadedLibrary library(BuiltLibrary());
    afterLoad = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(afterLoad)) ::CoUninitialize();
  }).join();
  EXPECT_EQ(afterLoad, S_OK) << "the library initialized COM on the loading thread";
}

// Explorer unloads an idle handler and loads it again at the next right-click, for as long as it runs: a
// thread-local storage index kept per load would run the process out of them after about a thousand loads.
TEST(LibraryLoadTest, LoadingAgainAndAgainKeepsNoThreadLocalStorage) {
  Testing::TOptionsKey options;
  options.SetDword("DecryptSec", 1);  // not a string: every menu build throws inside the library and fails
  auto nextFreeIndex = [] {
    DWORD index = ::TlsAlloc();
    ::TlsFree(index);
    return index;
  };
  DWORD before = nextFreeIndex();
  for (int load = 0; load < 20; ++load) {
    TLoadedLibrary library(BuiltLibrary());
    IContextMenu* created = nullptr;
    ASSERT_EQ(library.Factory().get()->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&created)),
              S_OK);
    TRef<IContextMenu> menu(created);
    Testing::TShellMenu shell(1);
    EXPECT_EQ(menu.get()->QueryContextMenu(shell.get(), 0, 1, 100, CMF_NORMAL), E_UNEXPECTED);
  }
  EXPECT_EQ(nextFreeIndex(), before) << "each load kept an index";
}

TEST_F(LibraryTest, ThreadsComingAndGoingChangeNothing) {
  std::thread([] {}).join();
  EXPECT_EQ(Library.CanUnloadNow(), S_OK);
  EXPECT_TRUE(Library.Factory());
}

// Registration -------------------------------------------------------------------------------------

class RegistrationTest : public ::testing::Test {
protected:
  static Testing::TRegistryTree Expected(const std::string& path) {
    std::string classKey = std::string("CLSID\\") + HandlerClassText;
    return {{"CLSID", {}},
            {classKey, {{"", Description}}},
            {classKey + "\\InprocServer32", {{"", path}, {"ThreadingModel", "Apartment"}}}};
  }
  Testing::TRedirectedClassesRoot Classes;
};

TEST_F(RegistrationTest, WritesExactlyTheClassEntriesAndRemovesThem) {
  TLoadedLibrary library(BuiltLibrary());
  ASSERT_EQ(library.RegisterServer(), S_OK);
  ASSERT_EQ(library.RegisterServer(), S_OK);
  EXPECT_EQ(Testing::ReadTree(Classes.Key()), Expected(BuiltLibrary().string()));
  EXPECT_EQ(library.UnregisterServer(), S_OK);
  EXPECT_EQ(Testing::ReadTree(Classes.Key()), (Testing::TRegistryTree{{"CLSID", {}}}));
  EXPECT_EQ(library.UnregisterServer(), S_OK);
}

TEST_F(RegistrationTest, LibraryInAFolderWithABlankIsRegisteredByItsShortPath) {
  Testing::TTempFolder folder("tarnctx dll");
  fs::path copy = folder.Path() / "tarnctx.dll";
  fs::copy_file(BuiltLibrary(), copy);
  char shortPath[MAX_PATH];
  ASSERT_GT(::GetShortPathNameA(copy.string().c_str(), shortPath, MAX_PATH), 0u);
  ASSERT_EQ(std::string(shortPath).find(' '), std::string::npos);
  {
    TLoadedLibrary library(copy);
    ASSERT_EQ(library.RegisterServer(), S_OK);
  }
  EXPECT_EQ(Testing::ReadTree(Classes.Key()), Expected(shortPath));
}

// As Explorer uses it ------------------------------------------------------------------------------

namespace {

// Runs a program of the prefix to its end.
DWORD RunToEnd(std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  Win32::TProcessInformation process;
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        process.put()))
    return ::GetLastError();
  ::WaitForSingleObject(process.get().hProcess, 60000);
  DWORD code = 1;
  ::GetExitCodeProcess(process.get().hProcess, &code);
  return code;
}

std::string RegisteredServer() {
  char path[MAX_PATH * 2] = "";
  LONG size = sizeof path;
  std::string key = std::string("CLSID\\") + HandlerClassText + "\\InprocServer32";
  return ::RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), path, &size) == ERROR_SUCCESS ? path : "";
}

}  // namespace

class ExplorerTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(RunToEnd("regsvr32 /s \"" + BuiltLibrary().string() + "\""), 0u);
  }
  void TearDown() override {
    EXPECT_EQ(RunToEnd("regsvr32 /s /u \"" + BuiltLibrary().string() + "\""), 0u);
    EXPECT_EQ(RegisteredServer(), "") << "regsvr32 /u left the class registered";
  }
  Testing::TOptionsKey Options;
  Testing::TTempFolder Folder{"tarnctx-explorer"};
};

TEST_F(ExplorerTest, RegisteredHandlerShowsItsMenuLaunchesAndUnloads) {
  EXPECT_EQ(RegisteredServer(), BuiltLibrary().string());
  Testing::TStandIn standIn(Folder, "main.exe");
  Options.SetString("ExeName", standIn.ExePath());
  Options.SetString("UnhideMask", "*.bmp");
  std::string picture = Folder.File("holiday.bmp"), text = Folder.File("notes.txt");

  IShellExtInit* created = nullptr;
  ASSERT_EQ(::CoCreateInstance(HandlerClass, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                               reinterpret_cast<void**>(&created)),
            S_OK);
  TRef<IShellExtInit> init(created);
  {
    TRef<IDataObject> data(Tools::ShellDataObject(Folder.Path().wstring(), {L"holiday.bmp", L"notes.txt"}));
    ASSERT_TRUE(data);
    ASSERT_EQ(init.get()->Initialize(nullptr, data.get(), nullptr), S_OK);
  }
  TRef<IContextMenu> menu = Query<IContextMenu>(init.get(), IID_IContextMenu);
  ASSERT_TRUE(menu);

  Testing::TShellMenu shell(2);
  ASSERT_EQ(menu.get()->QueryContextMenu(shell.get(), 1, 500, 600, CMF_NORMAL), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 10));
  auto entries = Testing::ReadMenu(shell.get());
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[1].Text, "Tarnwick");
  EXPECT_NE(entries[1].Unchecked, nullptr);
  EXPECT_EQ(Testing::Captions(entries[1].Submenu),
            (Strings{"Hide...", "Hide in this carrier...", "Unhide...", "Unhide here...", "-", "Encrypt...",
                     "Encrypt and send...", "-", "Shred..."}));

  char help[300] = "";
  ASSERT_EQ(menu.get()->GetCommandString(7, GCS_HELPTEXTA, nullptr, help, sizeof help), S_OK);
  EXPECT_EQ(std::string(help), "Hide data in selected carrier: " + picture);

  CMINVOKECOMMANDINFO invoke{};
  invoke.cbSize = sizeof invoke;
  invoke.lpVerb = MAKEINTRESOURCEA(7);
  invoke.nShow = SW_SHOWNORMAL;
  ASSERT_EQ(menu.get()->InvokeCommand(&invoke), S_OK);
  Testing::TRecordedLaunch launch = standIn.Wait();
  ASSERT_TRUE(launch.Started);
  EXPECT_EQ(launch.Arguments, (Strings{"/c", picture, text}));

  menu.reset();
  init.reset();
  std::string loaded = BuiltLibrary().string();
  ASSERT_NE(::GetModuleHandleA(loaded.c_str()), nullptr);
  ::CoFreeUnusedLibrariesEx(0, 0);
  EXPECT_EQ(::GetModuleHandleA(loaded.c_str()), nullptr) << "the released library stayed loaded";
}
