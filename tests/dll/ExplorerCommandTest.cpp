// The Explorer command of the built library against the classic handler of the same library: the same items
// for the same files and options, the same command lines, real shell item arrays of real files.
#include "dll/LoadedLibrary.h"
#include "support/Menus.h"
#include "support/Platform.h"
#include "tools/ComUnknown.h"
#include "tools/ShellDataObject.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

using namespace DllTesting;
using Strings = std::vector<std::string>;
using WideStrings = std::vector<std::wstring>;
using Commands = std::vector<TComRef<IExplorerCommand>>;

namespace {

const CLSID& CommandClass = ContextM::CLSID_TarnwickExplorerCommand;

std::wstring Taken(LPWSTR text) {
  std::wstring taken = text ? text : L"(null)";
  ::CoTaskMemFree(text);
  return taken;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// A child's caption, or "-" for a child that answers as a separator does.
std::string Title(IExplorerCommand& child) {
  EXPCMDFLAGS flags = ~0u;
  LPWSTR title = reinterpret_cast<LPWSTR>(1);
  child.GetFlags(&flags);
  HRESULT result = child.GetTitle(nullptr, &title);
  if (flags == ECF_ISSEPARATOR) return result == S_FALSE && !title ? "-" : "(not a separator's answer)";
  return flags == ECF_DEFAULT && result == S_OK ? Narrow(Taken(title)) : "(not an item's answer)";
}

Commands Children(IExplorerCommand& root) {
  TComRef<IEnumExplorerCommand> enumerator;
  EXPECT_EQ(root.EnumSubCommands(enumerator.put()), S_OK);
  Commands children;
  IExplorerCommand* child = nullptr;
  while (enumerator && enumerator->Next(1, &child, nullptr) == S_OK) children.emplace_back(child);
  return children;
}

Strings Titles(IExplorerCommand& root) {
  Strings titles;
  for (const auto& child : Children(root)) titles.push_back(Title(*child.get()));
  return titles;
}

TComRef<IExplorerCommand> ChildTitled(IExplorerCommand& root, const std::string& title) {
  for (auto& child : Children(root))
    if (Title(*child.get()) == title) return std::move(child);
  return TComRef<IExplorerCommand>();
}

// A site whose window owns the boxes; counts the references the command keeps.
class TWindowSite : public Tools::TComUnknown<Tools::TLifetime::ltOwned, IOleWindow> {
public:
  explicit TWindowSite(HWND window) : FWindow(window) {}
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override { return *window = FWindow, S_OK; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

private:
  HWND FWindow;
};

// A host's own item: a real shell item behind IShellItem alone, so no ID list can be had from it.
class TBareItem : public Tools::TComUnknown<Tools::TLifetime::ltCounted, IShellItem> {
public:
  explicit TBareItem(IShellItem* item) : FItem(Win32::Referenced(item)) {}
  HRESULT STDMETHODCALLTYPE BindToHandler(IBindCtx* bc, REFGUID bhid, REFIID iid, void** out) override {
    return FItem->BindToHandler(bc, bhid, iid, out);
  }
  HRESULT STDMETHODCALLTYPE GetParent(IShellItem** parent) override { return FItem->GetParent(parent); }
  HRESULT STDMETHODCALLTYPE GetDisplayName(SIGDN form, LPWSTR* name) override {
    return FItem->GetDisplayName(form, name);
  }
  HRESULT STDMETHODCALLTYPE GetAttributes(SFGAOF mask, SFGAOF* attributes) override {
    return FItem->GetAttributes(mask, attributes);
  }
  HRESULT STDMETHODCALLTYPE Compare(IShellItem* other, SICHINTF hint, int* order) override {
    return FItem->Compare(other, hint, order);
  }

private:
  TComRef<IShellItem> FItem;
};

// A host's own array of such items: only the count and the items themselves.
class TBareItemArray : public Tools::TComUnknown<Tools::TLifetime::ltCounted, IShellItemArray> {
public:
  explicit TBareItemArray(IShellItemArray& shellArray) {
    DWORD count = 0;
    shellArray.GetCount(&count);
    for (DWORD index = 0; index < count; ++index) {
      TComRef<IShellItem> item;
      if (SUCCEEDED(shellArray.GetItemAt(index, item.put()))) FItems.emplace_back(new TBareItem(item.get()));
    }
  }
  HRESULT STDMETHODCALLTYPE BindToHandler(IBindCtx*, REFGUID, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetPropertyStore(GETPROPERTYSTOREFLAGS, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetPropertyDescriptionList(REFPROPERTYKEY, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetAttributes(SIATTRIBFLAGS, SFGAOF, SFGAOF*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCount(DWORD* count) override {
    *count = static_cast<DWORD>(FItems.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetItemAt(DWORD index, IShellItem** item) override {
    return index < FItems.size() ? FItems[index].copy_to(item) : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE EnumItems(IEnumShellItems**) override { return E_NOTIMPL; }

private:
  std::vector<TComRef<IShellItem>> FItems;
};

}  // namespace

class ExplorerCommandTest : public ::testing::Test {
protected:
  TComRef<IExplorerCommand> NewRoot() {
    TComRef<IExplorerCommand> root;
    Library.Factory(CommandClass)->CreateInstance(nullptr, IID_PPV_ARGS(root.put()));
    return root;
  }
  // A root that has seen these files in a GetTitle call.
  TComRef<IExplorerCommand> RootFor(IShellItemArray* items) {
    TComRef<IExplorerCommand> root = NewRoot();
    LPWSTR title = nullptr;
    EXPECT_EQ(root->GetTitle(items, &title), S_OK);
    Taken(title);
    return root;
  }
  TComRef<IShellItemArray> Items(const WideStrings& names) {
    TComRef<IDataObject> data(Tools::ShellDataObject(Folder.Path().wstring(), names));
    TComRef<IShellItemArray> items;
    if (data) ::SHCreateShellItemArrayFromDataObject(data.get(), IID_PPV_ARGS(items.put()));
    EXPECT_TRUE(items);
    return items;
  }
  TComRef<IContextMenu> Classic(const WideStrings& names) {
    TComRef<IShellExtInit> handler;
    Library.Factory()->CreateInstance(nullptr, IID_PPV_ARGS(handler.put()));
    TComRef<IDataObject> data(Tools::ShellDataObject(Folder.Path().wstring(), names));
    EXPECT_EQ(handler->Initialize(nullptr, data.get(), nullptr), S_OK);
    return handler.query<IContextMenu>();
  }
  Strings ClassicCaptions(const WideStrings& names) {
    Testing::TShellMenu shell(0);
    Classic(names)->QueryContextMenu(shell.get(), 0, 1, 100, CMF_NORMAL);
    auto entries = Testing::ReadMenu(shell.get());
    return entries.empty() ? Strings{} : Testing::Captions(entries[0].Submenu);
  }
  Testing::TRecordedLaunch ClassicLaunch(const WideStrings& names, UINT offset) {
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof info;
    info.lpVerb = MAKEINTRESOURCEA(offset);
    info.nShow = SW_SHOWNORMAL;
    EXPECT_EQ(Classic(names)->InvokeCommand(&info), S_OK);
    return StandIn.Wait();
  }

  TLoadedLibrary Library{BuiltLibrary()};
  Testing::TOptionsKey Options;
  Testing::TTempFolder Folder{"tarnctx-command"};
  Testing::TStandIn StandIn{Folder, "main.exe"};
  Testing::TMessageBoxWatcher Boxes;
  std::string Picture = Folder.File("holiday.bmp"), Notes = Folder.File("notes.txt");
  std::string Secret = Folder.File("a.twk"), Other = Folder.File("b.twk");
};

TEST_F(ExplorerCommandTest, ChildrenAreTheClassicSubmenuForTheSameFilesAndOptions) {
  Options.SetString("UnhideMask", "*.bmp;*.twk");
  const std::pair<const char*, WideStrings> cases[] = {
      {"1", {L"holiday.bmp", L"notes.txt"}},  // carrier block, no Decrypt...
      {"1", {L"notes.txt", L"holiday.bmp"}},  // neither
      {"1", {L"a.twk", L"b.twk"}},            // both
      {"0", {L"notes.txt"}},                  // Decrypt... alone
  };
  std::set<Strings> distinct;
  for (const auto& [decryptFilter, names] : cases) {
    Options.SetString("DecryptSec", decryptFilter);
    Strings classic = ClassicCaptions(names);
    EXPECT_EQ(Titles(*RootFor(Items(names).get()).get()), classic) << Narrow(names[0]);
    distinct.insert(classic);
  }
  EXPECT_EQ(distinct.size(), std::size(cases)) << "the cases do not show and hide both blocks";
}

TEST_F(ExplorerCommandTest, RootIsTheTarnwickEntryWithTheLibrarysIcon) {
  TComRef<IExplorerCommand> root = NewRoot();
  LPWSTR text = nullptr;
  ASSERT_EQ(root->GetTitle(nullptr, &text), S_OK);
  EXPECT_EQ(Taken(text), L"Tarnwick");
  ASSERT_EQ(root->GetIcon(nullptr, &text), S_OK);
  EXPECT_EQ(Taken(text), BuiltLibrary().wstring() + L",-101");
  EXPECT_EQ(root->GetToolTip(nullptr, &text), E_NOTIMPL);
  EXPECT_EQ(text, nullptr);
  GUID name{};
  ASSERT_EQ(root->GetCanonicalName(&name), S_OK);
  EXPECT_EQ(name, CommandClass);
  EXPCMDFLAGS flags = 0;
  ASSERT_EQ(root->GetFlags(&flags), S_OK);
  EXPECT_EQ(flags, static_cast<EXPCMDFLAGS>(ECF_HASSUBCOMMANDS));
  EXPECT_EQ(root->Invoke(Items({L"notes.txt"}).get(), nullptr), E_NOTIMPL);
  EXPECT_FALSE(StandIn.Wait(200).Started);
}

TEST_F(ExplorerCommandTest, ChildrenCarryTheirCommandsIconsAndHelpTexts) {
  Options.SetString("DecryptSec", "0");
  Options.SetString("UnhideInst", "0");
  TComRef<IShellItemArray> items = Items({L"holiday.bmp", L"notes.txt"});
  std::wstring library = BuiltLibrary().wstring();
  const std::map<std::string, std::wstring> icons = {{"Encrypt...", library + L",-102"},
                                                     {"Encrypt and send...", library + L",-103"},
                                                     {"Shred...", library + L",-104"}};
  const std::map<std::string, std::string> tips = {
      {"Hide in this carrier...", "Hide data in selected carrier: " + Picture},
      {"Encrypt...", "Encrypt the selected file(s)"}};
  for (const auto& child : Children(*RootFor(items.get()).get())) {
    std::string title = Title(*child.get());
    LPWSTR icon = reinterpret_cast<LPWSTR>(1), tip = nullptr;
    HRESULT iconResult = child->GetIcon(items.get(), &icon);
    EXPECT_EQ(iconResult, icons.contains(title) ? S_OK : E_NOTIMPL) << title;
    EXPECT_EQ(Taken(icon), icons.contains(title) ? icons.at(title) : L"(null)") << title;
    if (tips.contains(title) && child->GetToolTip(items.get(), &tip) == S_OK)
      EXPECT_EQ(Narrow(Taken(tip)), tips.at(title));
    else
      EXPECT_FALSE(tips.contains(title)) << title;
    EXPCMDSTATE state = ECS_HIDDEN;
    EXPECT_EQ(child->GetState(items.get(), FALSE, &state), S_OK);
    EXPECT_EQ(state, static_cast<EXPCMDSTATE>(ECS_ENABLED)) << title;
  }
}

TEST_F(ExplorerCommandTest, StateNeedsNoFileWorkOnTheWindowThreadAndHidesWithoutFiles) {
  TComRef<IExplorerCommand> root = NewRoot();
  TComRef<IShellItemArray> files = Items({L"notes.txt"});
  auto state = [&](IShellItemArray* items, BOOL okToBeSlow) {
    EXPCMDSTATE answer = 0xFF;
    HRESULT result = root->GetState(items, okToBeSlow, &answer);
    return std::make_pair(result, result == E_PENDING ? 0xFFu : answer);
  };
  using Answer = std::pair<HRESULT, EXPCMDSTATE>;
  EXPECT_EQ(state(nullptr, FALSE), Answer(S_OK, ECS_HIDDEN));
  EXPECT_EQ(state(nullptr, TRUE), Answer(S_OK, ECS_HIDDEN));
  EXPECT_EQ(state(files.get(), FALSE), Answer(E_PENDING, 0xFF));
  EXPECT_EQ(state(files.get(), TRUE), Answer(S_OK, ECS_ENABLED));

  TComRef<IShellItem> computer;
  ASSERT_EQ(
      ::SHCreateItemFromParsingName(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", nullptr, IID_PPV_ARGS(computer.put())),
      S_OK);
  TComRef<IShellItemArray> noFiles;
  ASSERT_EQ(::SHCreateShellItemArrayFromShellItem(computer.get(), IID_PPV_ARGS(noFiles.put())), S_OK);
  EXPECT_EQ(state(noFiles.get(), TRUE), Answer(S_OK, ECS_HIDDEN));
  EXPECT_TRUE(Titles(*root.get()).empty());

  Options.SetDword("DecryptSec", 1);  // unreadable options: nothing is offered
  EXPECT_EQ(state(files.get(), TRUE), Answer(S_OK, ECS_HIDDEN));
  EXPECT_TRUE(Titles(*root.get()).empty());
}

TEST_F(ExplorerCommandTest, AnyOrderOfCallsGivesTheChildrenOfTheLatestArray) {
  Options.SetString("UnhideMask", "*.bmp");
  TComRef<IShellItemArray> picture = Items({L"holiday.bmp"}), notes = Items({L"notes.txt"});
  Strings forPicture = ClassicCaptions({L"holiday.bmp"}), forNotes = ClassicCaptions({L"notes.txt"});
  ASSERT_NE(forPicture, forNotes);
  LPWSTR text = nullptr;
  EXPCMDSTATE state;
  const std::function<void(IExplorerCommand&, IShellItemArray*)> calls[] = {
      [&](IExplorerCommand& root, IShellItemArray* items) { root.GetIcon(items, &text), Taken(text); },
      [&](IExplorerCommand& root, IShellItemArray* items) { root.GetToolTip(items, &text); },
      [&](IExplorerCommand& root, IShellItemArray* items) { root.GetState(items, FALSE, &state); },
      [&](IExplorerCommand& root, IShellItemArray* items) { root.GetState(items, TRUE, &state); },
      [&](IExplorerCommand& root, IShellItemArray* items) { root.GetTitle(items, &text), Taken(text); },
  };
  for (std::size_t first = 0; first < std::size(calls); ++first) {
    TComRef<IExplorerCommand> root = NewRoot();
    EXPECT_TRUE(Titles(*root.get()).empty()) << "children before any array";
    calls[first](*root.get(), notes.get());
    EXPECT_EQ(Titles(*root.get()), forNotes) << first;
    calls[(first + 1) % std::size(calls)](*root.get(), picture.get());
    calls[first](*root.get(), nullptr);  // a call without an array keeps the latest one
    EXPECT_EQ(Titles(*root.get()), forPicture) << first;
  }
}

TEST_F(ExplorerCommandTest, InvokeStartsTheClassicCommandLineAndLeavesTheClassicSelectionAlone) {
  Options.SetString("ExeName", StandIn.ExePath());
  Options.SetString("UnhideInst", "0");
  std::wstring cyrillic = L"\u043F\u0440\u0438.txt";  // reaches the program by its short form
  ::CloseHandle(::CreateFileW((Folder.Path() / cyrillic).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  const WideStrings names = {L"holiday.bmp", cyrillic, L"notes.txt"};
  TComRef<IShellItemArray> items = Items(names);
  TComRef<IExplorerCommand> hideIn = ChildTitled(*RootFor(items.get()).get(), "Hide in this carrier...");
  ASSERT_TRUE(hideIn);

  TComRef<IContextMenu> earlier = Classic({L"a.twk"});  // the classic handler's selection from now on
  ASSERT_EQ(hideIn->Invoke(items.get(), nullptr), S_OK);
  Testing::TRecordedLaunch command = StandIn.Wait();
  ASSERT_TRUE(command.Started);
  ASSERT_EQ(command.Arguments.size(), 4u);
  EXPECT_EQ(command.Arguments[0], "/c");

  CMINVOKECOMMANDINFO info{};
  info.cbSize = sizeof info;
  info.lpVerb = MAKEINTRESOURCEA(6);
  info.nShow = SW_SHOWNORMAL;
  ASSERT_EQ(earlier->InvokeCommand(&info), S_OK);
  EXPECT_EQ(StandIn.Wait().Arguments, (Strings{"/s", Secret})) << "the classic selection was changed or spent";

  EXPECT_EQ(ClassicLaunch(names, 7).CommandLine, command.CommandLine);
  EXPECT_EQ(hideIn->Invoke(nullptr, nullptr), E_FAIL);
  EXPECT_FALSE(StandIn.Wait(200).Started);
}

// Items from several folders, in and out of order, and an item outside the file system: each path is its own
// folder's, in the array's order, and the item without one is left out, as from CF_HDROP.
TEST_F(ExplorerCommandTest, ItemsOfSeveralFoldersKeepTheirOwnPathsInOrder) {
  Options.SetString("ExeName", StandIn.ExePath());
  std::string inner = Folder.Folder("inner");
  std::string nested = Folder.File("inner\\nested.txt");
  std::string notes = (Folder.Path() / "notes.txt").string();
  std::vector<Win32::TItemIdList> ids;
  for (const std::string& path : {notes, nested, notes, inner})
    ids.emplace_back(::ILCreateFromPathW(std::filesystem::path(path).c_str()));
  Win32::TItemIdList computer;
  ASSERT_EQ(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, computer.put()), S_OK);
  std::vector<PCIDLIST_ABSOLUTE> list;
  for (const auto& id : ids) list.push_back(id.get());
  list.insert(list.begin() + 2, computer.get());
  TComRef<IShellItemArray> items;
  ASSERT_EQ(::SHCreateShellItemArrayFromIDLists(static_cast<UINT>(list.size()), list.data(), items.put()), S_OK);

  TComRef<IExplorerCommand> encrypt = ChildTitled(*RootFor(items.get()).get(), "Encrypt...");
  ASSERT_TRUE(encrypt);
  ASSERT_EQ(encrypt->Invoke(items.get(), nullptr), S_OK);
  EXPECT_EQ(StandIn.Wait().Arguments, (Strings{"/e", notes, nested, notes, inner}));
}

// Items that offer IShellItem alone, among items outside the file system: still the files they name, found by the
// state, the children and a child's Invoke just as in the shell's own array of the same items.
TEST_F(ExplorerCommandTest, ItemsOfferingOnlyIShellItemAreTheFilesTheyName) {
  Options.SetString("ExeName", StandIn.ExePath());
  Options.SetString("UnhideMask", "*.bmp");
  Win32::TItemIdList computer, picture(::ILCreateFromPathA(Picture.c_str())), notes(::ILCreateFromPathA(Notes.c_str()));
  ASSERT_EQ(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, computer.put()), S_OK);
  PCIDLIST_ABSOLUTE list[] = {computer.get(), picture.get(), computer.get(), notes.get()};
  TComRef<IShellItemArray> shellArray;
  ASSERT_EQ(::SHCreateShellItemArrayFromIDLists(static_cast<UINT>(std::size(list)), list, shellArray.put()), S_OK);
  TComRef<IShellItemArray> bare(new TBareItemArray(*shellArray.get()));
  TComRef<IShellItem> first;
  ASSERT_EQ(bare->GetItemAt(1, first.put()), S_OK);
  Win32::TItemIdList none;
  ASSERT_FALSE(SUCCEEDED(::SHGetIDListFromObject(first.get(), none.put()))) << "the bare item gives an ID list";

  Strings expected = Titles(*RootFor(shellArray.get()).get());
  ASSERT_TRUE(std::ranges::count(expected, "Hide in this carrier...")) << "the picture is not the first path";
  TComRef<IExplorerCommand> root = NewRoot();
  EXPCMDSTATE state = ECS_HIDDEN;
  EXPECT_EQ(root->GetState(bare.get(), TRUE, &state), S_OK);
  EXPECT_EQ(state, static_cast<EXPCMDSTATE>(ECS_ENABLED));
  EXPECT_EQ(Titles(*root.get()), expected);

  TComRef<IExplorerCommand> hideIn = ChildTitled(*root.get(), "Hide in this carrier...");
  ASSERT_TRUE(hideIn);
  ASSERT_EQ(hideIn->Invoke(shellArray.get(), nullptr), S_OK);
  Testing::TRecordedLaunch fromShell = StandIn.Wait();
  ASSERT_EQ(hideIn->Invoke(bare.get(), nullptr), S_OK);
  Testing::TRecordedLaunch fromBare = StandIn.Wait();
  EXPECT_EQ(fromBare.Arguments, (Strings{"/c", Picture, Notes}));
  EXPECT_EQ(fromBare.CommandLine, fromShell.CommandLine);
}

TEST_F(ExplorerCommandTest, FailedStartIsReportedInABoxOwnedByTheSitesWindow) {
  Options.SetString("ExeName", "C:\\no\\such\\main.exe");
  HWND window =
      ::CreateWindowExA(0, "STATIC", "explorer", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  TWindowSite site(window);
  TComRef<IShellItemArray> items = Items({L"notes.txt"});
  {
    TComRef<IExplorerCommand> root = RootFor(items.get());
    ASSERT_EQ(root.query<IObjectWithSite>()->SetSite(&site), S_OK);
    TComRef<IExplorerCommand> shred = ChildTitled(*root.get(), "Shred...");
    root.reset();
    ASSERT_TRUE(shred);
    EXPECT_EQ(shred->Invoke(items.get(), nullptr), S_OK);
  }
  EXPECT_EQ(site.References(), 1u) << "a command kept its site";
  ::DestroyWindow(window);
  ASSERT_EQ(Boxes.Boxes().size(), 1u);
  EXPECT_EQ(Boxes.Boxes()[0].Text, "Error executing Tarnwick");
  EXPECT_EQ(Boxes.Boxes()[0].Owner, window);
}

TEST_F(ExplorerCommandTest, EnumeratorAndChildrenKeepTheLibraryUntilReleased) {
  IEnumExplorerCommand* found = nullptr;
  ASSERT_EQ(NewRoot()->EnumSubCommands(&found), S_OK);  // no array yet: no children
  EXPECT_EQ(Library.CanUnloadNow(), S_FALSE) << "an empty enumerator lives";
  found->Release();
  EXPECT_EQ(Library.CanUnloadNow(), S_OK);

  TComRef<IExplorerCommand> root = RootFor(Items({L"notes.txt"}).get());
  ASSERT_EQ(root->EnumSubCommands(&found), S_OK);
  TComRef<IEnumExplorerCommand> enumerator(found);
  root.reset();
  IExplorerCommand* fetched[20] = {};
  ULONG count = 99;
  EXPECT_EQ(enumerator->Next(20, fetched, &count), S_FALSE);
  ASSERT_EQ(count, 5u);  // Hide..., Encrypt..., Encrypt and send..., separator, Shred...
  for (ULONG i = 1; i < count; ++i) fetched[i]->Release();
  TComRef<IExplorerCommand> child(fetched[0]);
  EXPECT_EQ(enumerator->Next(1, fetched, &count), S_FALSE);
  EXPECT_EQ(count, 0u);
  ASSERT_EQ(enumerator->Reset(), S_OK);
  ASSERT_EQ(enumerator->Next(1, fetched, nullptr), S_OK);
  EXPECT_EQ(fetched[0], child.get()) << "Reset starts again at the first child";
  fetched[0]->Release();

  EXPECT_EQ(Library.CanUnloadNow(), S_FALSE);
  enumerator.reset();
  EXPECT_EQ(Library.CanUnloadNow(), S_FALSE) << "a child lives";
  child.reset();
  EXPECT_EQ(Library.CanUnloadNow(), S_OK);
}
