// The steps of a right-click in Explorer, each reported in a line or two.
#include "HostSession.h"

#include "HandlerCreation.h"
#include "HandlerDiscovery.h"
#include "HostError.h"
#include "HostSelection.h"
#include "HostedMenu.h"
#include "Invocation.h"
#include "MenuPrinter.h"
#include "MenuScreenshot.h"
#include "MenuTree.h"
#include "OwnerWindow.h"
#include "PngWriter.h"
#include "StartedPrograms.h"
#include "win32/ComText.h"
#include "tools/ToolText.h"

#include <cstdio>

namespace Host {

namespace {

// How long an invoked command's programs may run before the host goes on without them.
constexpr DWORD StartedProgramsWait = 30000;

std::string Joined(const std::vector<std::wstring>& texts) {
  std::wstring joined;
  for (const std::wstring& text : texts) joined += (joined.empty() ? L"" : L", ") + text;
  return Tools::Utf8(joined);
}

void PrintHandlers(const THostedMenu& menu) {
  for (const THostedHandler& handler : menu.Handlers()) {
    std::string line = "Handler " + Tools::Utf8(Win32::ClassIdText(handler.Entry.Class)) + " from " +
                       Tools::Utf8(handler.Entry.Source);
    if (!handler.Via.empty()) line += ", created from " + Tools::Utf8(handler.Via);
    Print(line + "\n");
  }
  for (const THandlerFailure& failure : menu.Failures())
    std::fprintf(stderr, "Handler %s from %s left out: %s\n",
                 Tools::Utf8(Win32::ClassIdText(failure.Entry.Class)).c_str(),
                 Tools::Utf8(failure.Entry.Source).c_str(), failure.Error.what());
}

void PrintMenu(const THostedMenu& menu, const std::vector<TMenuNode>& tree, UINT flags) {
  std::string heading = "Menu (" + FlagNames(flags) + ")";
  if (tree.empty()) return Print(heading + ": empty, the handlers added nothing\n");
  Print(heading + ":\n" + FormatMenuTree(tree, [&](UINT id) -> std::optional<TCommandText> {
          std::optional<THostedMenu::TCommand> command = menu.CommandOf(id);
          if (!command) return std::nullopt;
          return TCommandText{command->Offset, THostedMenu::HelpText(*command->Handler->Menu.get(), command->Offset)};
        }));
}

void InvokeItem(const THostOptions& options, const THostedMenu& menu, const std::vector<TMenuNode>& tree,
                const THostSelection& selection) {
  TInvocation invocation = ResolveInvocation(menu, tree, options.Invoke);
  TOwnerWindow owner;
  char details[160];
  std::snprintf(details, sizeof details, " (offset %u of %s), owner window %p, %s\n", invocation.Offset,
                Tools::Utf8(Win32::ClassIdText(invocation.Handler->Entry.Class)).c_str(),
                static_cast<void*>(owner.Handle()), ShowName(options.Show).c_str());
  Print("Invoking " + Tools::Utf8(invocation.Item) + details);
  std::set<DWORD> earlier = ChildProcessIds();
  Invoke(invocation, owner.Handle(), options.Show, selection.Folder());
  if (options.WaitForStarted) ReportStarted(earlier);
}

void SaveScreenshot(const THostOptions& options, const THostedMenu& menu, const std::vector<TMenuNode>& tree) {
  TImage image = CaptureOpenMenu(menu.Menu(), tree);
  WritePng(image, options.Screenshot);
  Print("Screenshot of the open menu: " + std::to_string(image.Width) + "x" + std::to_string(image.Height) +
        " pixels, saved to " + Tools::Utf8(options.Screenshot) + "\n");
}

}  // namespace

void Print(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

void PrintSelection(const THostSelection& selection) {
  std::vector<std::wstring> names;
  for (const TSelectedItem& item : selection.Items()) names.push_back(item.Name + (item.IsFolder ? L"\\" : L""));
  Print("Selection: " + Joined(names) + " in " + Tools::Utf8(selection.Folder()) + "\n");
}

void ReportStarted(const std::set<DWORD>& earlier) {
  std::vector<TStartedProgram> started = WaitForNewChildren(earlier, StartedProgramsWait);
  if (started.empty()) return Print("The command started no program that is still running\n");
  for (const TStartedProgram& program : started) {
    std::string line = "Started " + Tools::Utf8(program.Name) + " (process " + std::to_string(program.ProcessId) + ")";
    line += program.Ended ? ", which ended with exit code " + std::to_string(program.ExitCode) : ", still running";
    Print(line + "\n");
  }
}

void RunSession(const THostOptions& options) {
  THostSelection selection(options.Paths);
  PrintSelection(selection);
  THandlerSearch search = FindHandlers(selection.Items().front());
  if (search.Handlers.empty())
    throw EHostError(TExitCode::ecNoHandler, "No context-menu handler is registered for " +
                                                 Tools::Utf8(selection.Items().front().Name) + " (searched " +
                                                 Joined(search.Keys) + ")");
  // The factory outlives the menu, whose handlers may live in servers that it loaded.
  THandlerFactory factory;
  THostedMenu menu(selection, search, factory, options.Flags);
  PrintHandlers(menu);
  std::vector<TMenuNode> tree = ReadMenuTree(menu.Menu());
  if (options.PrintMenuTree) PrintMenu(menu, tree, options.Flags);
  if (!options.Screenshot.empty()) SaveScreenshot(options, menu, tree);
  if (!options.Invoke.empty()) InvokeItem(options, menu, tree, selection);
}

}  // namespace Host
