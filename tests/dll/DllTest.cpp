// The built tarnctx.dll, loaded and driven as COM, registration tools and Explorer drive it.
#include "dll/LoadedLibrary.h"
#include "win32/Handles.h"
#include "support/ClassesRoot.h"
#include "shell/Identities.h"
#include "support/Menus.h"
#include "support/Platform.h"
#include "tools/Process.h"
#include "tools/ServerModule.h"
#include "tools/ShellDataObject.h"
#include "win32/Text.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <thread>

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
using namespace DllTesting;

namespace {

const CLSID& HandlerClass = ContextM::CLSID_TarnwickContextMenu;
const char Description[] = "Orrery 4.0 Context Menu Shell Extension Example";

}  // namespace

// Exports and the handler class --------------------------------------------------------------------

class LibraryTest : public ::testing::Test {
protected:
  TLoadedLibrary Library{BuiltLibrary()};
};

TEST_F(LibraryTest, ClassObjectIsHandedOutOnlyForTheLibrarysTwoClasses) {
  for (const CLSID* served : {&HandlerClass, &ContextM::CLSID_TarnwickExplorerCommand}) {
    TComRef<IClassFactory> factory = Library.Factory(*served);
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
  Win32::TComRef<IClassFactory> factory = Library.Factory();
  ASSERT_TRUE(factory);
  EXPECT_EQ(Library.CanUnloadNow(), S_FALSE);

  Win32::TComRef<IContextMenu> object;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(object.put())), S_OK);
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  factory.reset();
  EXPECT_EQ(Library.CanUnloadNow(), S_FALSE) << "the object and the lock";
  object.reset();
  EXPECT_EQ(Library.CanUnloadNow(), S_FALSE) << "the lock";
  Library.Factory()->LockServer(FALSE);
  EXPECT_EQ(Library.CanUnloadNow(), S_OK);
}

TEST_F(LibraryTest, HandlerObjectHasOneIdentityAndItsTwoShellInterfaces) {
  Win32::TComRef<IClassFactory> factory = Library.Factory();
  Win32::TComRef<IContextMenu> menu;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(menu.put())), S_OK);
  Win32::TComRef<IShellExtInit> init = menu.query<IShellExtInit>();
  ASSERT_TRUE(init);
  EXPECT_EQ(menu.query<IUnknown>().get(), init.query<IUnknown>().get());
  EXPECT_EQ(init.query<IContextMenu>().get(), menu.get());
  EXPECT_TRUE(menu.query<ISupportErrorInfo>());
  void* other = reinterpret_cast<void*>(1);
  EXPECT_EQ(menu->QueryInterface(IID_IDataObject, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(menu->QueryInterface(IID_IContextMenu, nullptr), E_POINTER);
}

TEST_F(LibraryTest, CarriesItsBitmapsAndVersion) {
  HMODULE module = ::GetModuleHandleA(BuiltLibrary().string().c_str());
  for (const char* name : {"ENC", "ENCSEND", "ICON1", "ICON2", "SHRED"})
    EXPECT_NE(::FindResourceA(module, name, MAKEINTRESOURCEA(2)), nullptr) << name;  // RT_BITMAP
  std::string path = BuiltLibrary().string();
  std::vector<char> version(::GetFileVersionInfoSizeA(path.c_str(), nullptr));
  ASSERT_FALSE(version.empty());
  ASSERT_TRUE(::GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(version.size()), version.data()));
  void* text = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueA(version.data(), "\\StringFileInfo\\040904E4\\OriginalFilename", &text, &length));
  EXPECT_STREQ(static_cast<const char*>(text), "tarnctx.dll");
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
    Win32::TComRef<IContextMenu> menu;
    ASSERT_EQ(library.Factory()->CreateInstance(nullptr, IID_PPV_ARGS(menu.put())), S_OK);
    Testing::TShellMenu shell(1);
    EXPECT_EQ(menu->QueryContextMenu(shell.get(), 0, 1, 100, CMF_NORMAL), E_UNEXPECTED);
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
    std::string classKey = std::string("CLSID\\") + Testing::HandlerClassText;
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
DWORD RunToEnd(const std::string& commandLine) {
  Win32::TProcessInformation process;
  if (!Tools::StartProcess(Win32::Widened(commandLine), {}, process)) return ::GetLastError();
  return Tools::WaitForExit(process.get().hProcess, 60000).value_or(STILL_ACTIVE);
}

std::string RegisteredServer() {
  char path[MAX_PATH * 2] = "";
  LONG size = sizeof path;
  std::string key = std::string("CLSID\\") + Testing::HandlerClassText + "\\InprocServer32";
  return ::RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), path, &size) == ERROR_SUCCESS ? path : "";
}

}  // namespace

class ExplorerTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(RunToEnd("regsvr32 /s \"" + BuiltLibrary().string() + "\""), 0u); }
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

  Win32::TComRef<IShellExtInit> init;
  ASSERT_EQ(::CoCreateInstance(HandlerClass, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(init.put())), S_OK);
  {
    Win32::TComRef<IDataObject> data = Tools::ShellDataObject(Folder.Path().wstring(), {L"holiday.bmp", L"notes.txt"});
    ASSERT_TRUE(data);
    ASSERT_EQ(init->Initialize(nullptr, data.get(), nullptr), S_OK);
  }
  Win32::TComRef<IContextMenu> menu = init.query<IContextMenu>();
  ASSERT_TRUE(menu);

  Testing::TShellMenu shell(2);
  ASSERT_EQ(menu->QueryContextMenu(shell.get(), 1, 500, 600, CMF_NORMAL), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 10));
  auto entries = Testing::ReadMenu(shell.get());
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[1].Text, "Tarnwick");
  EXPECT_NE(entries[1].Unchecked, nullptr);
  EXPECT_EQ(Testing::Captions(entries[1].Submenu),
            (Strings{"Hide...", "Hide in this carrier...", "Unhide...", "Unhide here...", "-", "Encrypt...",
                     "Encrypt and send...", "-", "Shred..."}));

  char help[300] = "";
  ASSERT_EQ(menu->GetCommandString(7, GCS_HELPTEXTA, nullptr, help, sizeof help), S_OK);
  EXPECT_EQ(std::string(help), "Hide data in selected carrier: " + picture);

  CMINVOKECOMMANDINFO invoke{};
  invoke.cbSize = sizeof invoke;
  invoke.lpVerb = MAKEINTRESOURCEA(7);
  invoke.nShow = SW_SHOWNORMAL;
  ASSERT_EQ(menu->InvokeCommand(&invoke), S_OK);
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
