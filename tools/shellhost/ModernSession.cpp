// Explorer's steps for a packaged command: the class from the manifest, a site, the selection as shell items,
// the state, the subcommands, and the chosen one invoked.
#include "ModernSession.h"

#include "CommandTree.h"
#include "HostError.h"
#include "HostSession.h"
#include "HostSite.h"
#include "MenuPrinter.h"
#include "OwnerWindow.h"
#include "PackageManifest.h"
#include "StartedPrograms.h"
#include "win32/ComText.h"
#include "tools/ServerModule.h"
#include "tools/Paths.h"
#include "tools/ToolText.h"
#include "win32/Module.h"

#include <shlobj.h>

namespace Host {

namespace {

// The host lives in tools\ below the library's folder, where the build puts the manifest beside the library.
std::wstring DefaultManifest() {
  std::wstring path = Win32::ModulePath();
  path = path.substr(0, path.find_last_of(L'\\'));
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"AppxManifest.xml";
}

// Windows creates a packaged class from its library through DllGetClassObject, never through the registry.
class TPackagedClass {
public:
  explicit TPackagedClass(const TManifestCommand& command) : FLibrary(command.Library) {
    if (!FLibrary)
      throw EHostError(TExitCode::ecCannotCreate, "Cannot load " + Tools::Utf8(command.Library) + " (error " +
                                                      std::to_string(::GetLastError()) + ")");
    if (!FLibrary.GetClassObject) throw EHostError(TExitCode::ecCannotCreate, "The library has no DllGetClassObject");
    Win32::TComRef<IClassFactory> factory;
    CheckCall(FLibrary.GetClassObject(command.Class, IID_PPV_ARGS(factory.put())), "DllGetClassObject",
              TExitCode::ecCannotCreate);
    CheckCall(factory->CreateInstance(nullptr, IID_PPV_ARGS(FCommand.put())), "IClassFactory::CreateInstance",
              TExitCode::ecCannotCreate);
  }
  TPackagedClass(const TPackagedClass&) = delete;
  TPackagedClass& operator=(const TPackagedClass&) = delete;

  const Win32::TComRef<IExplorerCommand>& Command() const { return FCommand; }

private:
  Tools::TServerModule FLibrary;
  Win32::TComRef<IExplorerCommand> FCommand;
};

Win32::TComRef<IShellItemArray> ShellItems(const THostSelection& selection) {
  Win32::TComRef<IShellItemArray> items;
  CheckCall(::SHCreateShellItemArrayFromDataObject(selection.DataObject().get(), IID_PPV_ARGS(items.put())),
            "SHCreateShellItemArrayFromDataObject", TExitCode::ecUnexpected);
  return items;
}

std::string StateName(EXPCMDSTATE state) {
  if (state & ECS_HIDDEN) return "ECS_HIDDEN";
  if (state & ECS_DISABLED) return "ECS_DISABLED";
  return "ECS_ENABLED";
}

TPrintedItem Printed(const TCommandNode& node) {
  std::wstring details = NodeAttributes(node);
  if (node.ToolTip) details += (details.empty() ? L"" : L"  ") + *node.ToolTip;
  TPrintedItem item{node.Title.value_or(L""), (node.Flags & ECF_ISSEPARATOR) != 0, L"", details, {}};
  for (const TCommandNode& child : node.Children) item.Children.push_back(Printed(child));
  return item;
}

void PrintCommand(const TManifestCommand& command, const std::wstring& manifest) {
  Print("Explorer command " + Tools::Utf8(Win32::ClassIdText(command.Class)) + ", verb " + Tools::Utf8(command.Verb) +
        " for items of type " + Tools::Utf8(command.ItemType) + ", from " + Tools::Utf8(manifest) + ", created from " +
        Tools::Utf8(command.Library) + "\n");
}

void PrintState(const TCommandNode& root) {
  std::string quick = root.QuickState == E_PENDING ? "E_PENDING, then with TRUE: " : "";
  Print("State (GetState with okToBeSlow FALSE): " + quick + StateName(root.State) + "\n");
}

void PrintTree(const TCommandNode& root, TCallOrder order) {
  std::string heading = "Menu (Windows 11, methods called in the " + OrderName(order) + " order)";
  if (root.State & ECS_HIDDEN) return Print(heading + ": empty, the command hides itself\n");
  Print(heading + ":\n" + FormatTree({Printed(root)}));
}

void InvokeCommand(const THostOptions& options, const TCommandNode& root, IShellItemArray* items, HWND owner) {
  const TCommandNode* chosen = FindCommand(root, options.Invoke);
  if (!chosen || chosen == &root || (chosen->Flags & ECF_ISSEPARATOR))
    throw EHostError(TExitCode::ecNoSuchItem, "No command " + Tools::Utf8(options.Invoke) + " in the menu");
  char window[64];
  std::snprintf(window, sizeof window, ", site window %p\n", static_cast<void*>(owner));
  Print("Invoking " + Tools::Utf8(options.Invoke) + " (IExplorerCommand::Invoke with a bind context)" + window);
  Win32::TComRef<IBindCtx> bindContext;
  CheckCall(::CreateBindCtx(0, bindContext.put()), "CreateBindCtx", TExitCode::ecUnexpected);
  std::set<DWORD> earlier = ChildProcessIds();
  CheckCall(chosen->Command->Invoke(items, bindContext.get()), "IExplorerCommand::Invoke");
  if (options.WaitForStarted) ReportStarted(earlier);
}

}  // namespace

void RunModernSession(const THostOptions& options) {
  THostSelection selection(options.Paths);
  PrintSelection(selection);
  std::wstring manifest = Tools::FullPath(options.Manifest.empty() ? DefaultManifest() : options.Manifest);
  TManifestCommand command = ReadManifestCommand(manifest);
  TPackagedClass packaged(command);
  PrintCommand(command, manifest);

  TOwnerWindow owner;
  Win32::TComRef<IUnknown> site = MakeSite(owner.Handle());
  Win32::TComRef<IObjectWithSite> withSite = packaged.Command().query<IObjectWithSite>();
  if (withSite) CheckCall(withSite->SetSite(site.get()), "IObjectWithSite::SetSite");
  Win32::TComRef<IShellItemArray> items = ShellItems(selection);

  TCommandNode root = ReadCommandTree(packaged.Command(), items.get(), options.Order);
  PrintState(root);
  if (options.PrintMenuTree) PrintTree(root, options.Order);
  if (!options.Invoke.empty()) InvokeCommand(options, root, items.get(), owner.Handle());
  if (withSite) withSite->SetSite(nullptr);
}

}  // namespace Host
