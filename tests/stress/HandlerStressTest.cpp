// Eight shell threads right-click and invoke through their own handler objects while another thread adds,
// registers, walks and removes factories: the module-wide state must stay whole and every count return to zero.
#include "com/ComClassManager.h"
#include "com/ComServer.h"
#include "com/EntryPoints.h"
#include "shell/CommandTable.h"
#include "shell/ContextMenu.h"
#include "shell/HandlerModule.h"
#include "shell/Selection.h"
#include "support/ClassesRoot.h"
#include "support/DropFiles.h"
#include "support/Menus.h"
#include "support/Platform.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace ContextM;

namespace {

constexpr int Workers = 8, Rounds = 400, PathsPerSelection = 20;
constexpr UINT FirstId = 1;
constexpr HRESULT MenuAdded = MAKE_HRESULT(SEVERITY_SUCCESS, 0, ReservedCommandCount);

std::string TaggedPath(int worker, int i) {
  return "C:\\worker" + std::to_string(worker) + "\\carrier" + std::to_string(i) + ".bmp";
}

// A selection is whole when all its paths come from one worker's right-click, in that right-click's order.
bool IsWhole(const TSelection& selection) {
  if (!selection) return true;
  TPathList paths(selection->Paths.begin(), selection->Paths.end());
  if (paths.size() != PathsPerSelection) return false;
  std::string tag = paths[0].substr(0, paths[0].find('\\', 3));
  for (int i = 0; i < PathsPerSelection; ++i)
    if (paths[i] != tag + "\\carrier" + std::to_string(i) + ".bmp") return false;
  return true;
}

struct TFaults {
  std::atomic<int> Torn{0}, Unbuilt{0}, WrongText{0}, WrongInvoke{0}, Uncreated{0}, Unlisted{0};
};

Win32::TComRef<IContextMenu> CreateHandler() {
  Win32::TComRef<IClassFactory> factory;
  if (FAILED(ComServ::DllGetClassObject(CLSID_TarnwickContextMenu, IID_PPV_ARGS(factory.put())))) return {};
  Win32::TComRef<IContextMenu> handler;
  factory->CreateInstance(nullptr, IID_PPV_ARGS(handler.put()));
  return handler;
}

void RightClickAndInvoke(int worker, const std::set<std::string>& helpTexts, TFaults& faults) {
  Win32::TComRef<IContextMenu> handler = CreateHandler();
  if (!handler) return void(++faults.Uncreated);
  Win32::TComRef<IShellExtInit> shellInit = handler.query<IShellExtInit>();

  std::vector<std::string> paths;
  for (int i = 0; i < PathsPerSelection; ++i) paths.push_back(TaggedPath(worker, i));
  Testing::TDropFilesObject data(paths);
  if (shellInit->Initialize(nullptr, &data, nullptr) != S_OK) ++faults.Unbuilt;

  Testing::TShellMenu menu(2);
  // Another worker may have spent the selection in between: then no submenu, but never a failure.
  HRESULT built = handler->QueryContextMenu(menu.get(), 0, FirstId, FirstId + 100, CMF_NORMAL);
  if (built != MenuAdded && built != MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0)) ++faults.Unbuilt;

  char text[400] = "";
  handler->GetCommandString(7, GCS_HELPTEXTA, nullptr, text, sizeof text);
  if (!helpTexts.count(text)) ++faults.WrongText;
  if (!IsWhole(SelectedFiles())) ++faults.Torn;

  CMINVOKECOMMANDINFO info{};
  info.cbSize = sizeof info;
  info.fMask = CMIC_MASK_FLAG_NO_UI;
  info.lpVerb = MAKEINTRESOURCEA(3);
  HRESULT invoked = handler->InvokeCommand(&info);
  // The program does not exist: the start fails, or the selection was already another worker's to spend.
  if (SUCCEEDED(invoked)) ++faults.WrongInvoke;
}

void Worker(int worker, const std::set<std::string>& helpTexts, TFaults& faults) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (int round = 0; round < Rounds; ++round) RightClickAndInvoke(worker, helpTexts, faults);
  ::CoUninitialize();
}

int ListedFactories() {
  int listed = 0;
  ComObj::ClassManager().VisitFactories(*ComServ::ModuleServer, [&](ComObj::TComObjectFactory&) { ++listed; });
  return listed;
}

// Adds a factory, writes every factory's entries, finds and walks, removes it again.
void Registrar(const std::atomic<bool>& stop, TFaults& faults, int& cycles) {
  const int moduleFactories = ListedFactories();
  for (unsigned n = 0; !stop; ++n, ++cycles) {
    GUID classId = CLSID_TarnwickContextMenu;
    classId.Data1 ^= 0x5A5A0000u + n;
    auto* factory = new ComObj::TComObjectFactory(*ComServ::ModuleServer, ComObj::ClassOf<TContextMenu>, classId, "",
                                                  "Stress class", ComObj::imMultiUse, ComObj::thApartment);
    ComServ::ModuleServer->UpdateServerRegistration(true);
    if (ListedFactories() != moduleFactories + 1 || ComObj::ClassManager().FindFactory(classId) != factory)
      ++faults.Unlisted;
    ComServ::ModuleServer->UpdateServerRegistration(false);
    delete factory;
  }
}

}  // namespace

TEST(HandlerStressTest, EightShellThreadsAndARegistrarLeaveTheStateWholeAndTheCountsAtZero) {
  Testing::TOptionsKey options;
  options.SetString("DecryptSec", "0");
  options.SetString("UnhideInst", "0");
  options.SetString("ExeName", "C:\\no\\such\\main.exe");
  Testing::TRedirectedClassesRoot classesRoot;
  Testing::TMessageBoxWatcher boxes;
  ComServ::CreateModuleServer();
  InitializeHandlerModule();
  ASSERT_EQ(ListedFactories(), 2) << "the handler class and the Explorer command";

  std::set<std::string> helpTexts = {"Hide data in selected carrier: "};  // after a spent selection
  for (int w = 0; w < Workers; ++w) helpTexts.insert("Hide data in selected carrier: " + TaggedPath(w, 0));
  TFaults faults;
  std::atomic<bool> stop{false};
  int registrations = 0;
  std::thread registrar(Registrar, std::cref(stop), std::ref(faults), std::ref(registrations));
  std::vector<std::thread> workers;
  for (int w = 0; w < Workers; ++w) workers.emplace_back(Worker, w, std::cref(helpTexts), std::ref(faults));
  for (std::thread& worker : workers) worker.join();
  stop = true;
  registrar.join();

  EXPECT_EQ(faults.Uncreated, 0);
  EXPECT_EQ(faults.Unbuilt, 0);
  EXPECT_EQ(faults.WrongText, 0);
  EXPECT_EQ(faults.Torn, 0);
  EXPECT_EQ(faults.WrongInvoke, 0);
  EXPECT_EQ(faults.Unlisted, 0);
  EXPECT_GT(registrations, 0);
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_EQ(ComServ::ModuleServer->LiveObjects(), 0);
  EXPECT_EQ(ComServ::ModuleServer->FactoryRefs(), 0);
  EXPECT_EQ(ComServ::DllCanUnloadNow(), S_OK);

  FinalizeHandlerModule();
  SetSelectedFiles(nullptr);
  ComServ::DestroyModuleServer();
}
