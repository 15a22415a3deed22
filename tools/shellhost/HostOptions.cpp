// Options by name; the flag and show-command names are the platform's own.
#include "HostOptions.h"

#include "HostError.h"
#include "tools/ToolText.h"

#include <shlobj.h>

#include <array>
#include <cstdio>
#include <cwchar>
#include <utility>

namespace Host {

const char UsageText[] =
    "usage: shellhost [options] PATH...\n"
    "Shows the context menu that the registered shell extensions add for the selected files or folders\n"
    "(all in one folder), as Explorer builds it on a right-click.\n"
    "  --explore --default-only --verbs-only --no-verbs --can-rename --no-default --extended\n"
    "                     menu flags for QueryContextMenu (default: CMF_NORMAL); --flags N gives them as a number\n"
    "  --invoke ITEM      choose an item: a caption path such as \"Tarnwick/Encrypt...\", or a command offset\n"
    "  --show NAME        show command for the invoked program: normal (default), hide, minimized, maximized\n"
    "  --no-wait          do not wait for the programs that the invoked command starts\n"
    "  --no-menu          do not print the menu\n"
    "  --screenshot FILE  open the menu on the display with its first submenu expanded and save it as PNG\n"
    "  --modern           Windows 11's first menu: create the Explorer command that the package manifest\n"
    "                     registers, from the library beside it, and read its subcommands instead\n"
    "  --manifest FILE    the package manifest for --modern (default: AppxManifest.xml beside the library)\n"
    "  --order NAME       the order --modern calls the command's methods in: explorer (default), title-first,\n"
    "                     enum-first\n"
    "Exit codes: 0 done, 2 usage, 3 no such file, 4 no handler registered, 5 handler cannot be created,\n"
    "6 a handler call failed, 7 no such menu item, 8 screenshot failed, 1 unexpected fault.\n";

namespace {

struct TNamedFlag {
  const wchar_t* Option;
  UINT Flag;
  const char* Name;
};

constexpr std::array<TNamedFlag, 7> NamedFlags{{
    {L"--default-only", CMF_DEFAULTONLY, "CMF_DEFAULTONLY"},
    {L"--verbs-only", CMF_VERBSONLY, "CMF_VERBSONLY"},
    {L"--explore", CMF_EXPLORE, "CMF_EXPLORE"},
    {L"--no-verbs", CMF_NOVERBS, "CMF_NOVERBS"},
    {L"--can-rename", CMF_CANRENAME, "CMF_CANRENAME"},
    {L"--no-default", CMF_NODEFAULT, "CMF_NODEFAULT"},
    {L"--extended", CMF_EXTENDEDVERBS, "CMF_EXTENDEDVERBS"},
}};

struct TNamedShow {
  const wchar_t* Option;
  int Show;
  const char* Name;
};

struct TNamedOrder {
  const wchar_t* Option;
  TCallOrder Order;
};

constexpr std::array<TNamedOrder, 3> NamedOrders{{
    {L"explorer", TCallOrder::coExplorer},
    {L"title-first", TCallOrder::coTitleFirst},
    {L"enum-first", TCallOrder::coEnumFirst},
}};

constexpr std::array<TNamedShow, 4> NamedShows{{
    {L"normal", SW_SHOWNORMAL, "SW_SHOWNORMAL"},
    {L"hide", SW_HIDE, "SW_HIDE"},
    {L"minimized", SW_SHOWMINIMIZED, "SW_SHOWMINIMIZED"},
    {L"maximized", SW_SHOWMAXIMIZED, "SW_SHOWMAXIMIZED"},
}};

[[noreturn]] void Refuse(const std::string& message) { throw EHostError(TExitCode::ecUsage, message); }

UINT ParseNumber(const std::wstring& text) {
  wchar_t* end = nullptr;
  unsigned long value = std::wcstoul(text.c_str(), &end, 0);
  if (text.empty() || *end != L'\0') Refuse("not a number: " + Tools::Utf8(text));
  return static_cast<UINT>(value);
}

int ParseShow(const std::wstring& text) {
  for (const TNamedShow& named : NamedShows)
    if (text == named.Option) return named.Show;
  Refuse("unknown show command: " + Tools::Utf8(text));
}

TCallOrder ParseOrder(const std::wstring& text) {
  for (const TNamedOrder& named : NamedOrders)
    if (text == named.Option) return named.Order;
  Refuse("unknown call order: " + Tools::Utf8(text));
}

// Walks the arguments; an option's value is the next argument.
class TArgumentReader {
public:
  explicit TArgumentReader(const std::vector<std::wstring>& arguments) : FArguments(arguments) {}
  bool AtEnd() const { return FNext >= FArguments.size(); }
  const std::wstring& Next() { return FArguments[FNext++]; }
  const std::wstring& ValueOf(const std::wstring& option) {
    if (AtEnd()) Refuse(Tools::Utf8(option) + " needs a value");
    return Next();
  }

private:
  const std::vector<std::wstring>& FArguments;
  std::size_t FNext = 0;
};

bool ApplyNamedFlag(const std::wstring& argument, THostOptions& options) {
  for (const TNamedFlag& named : NamedFlags)
    if (argument == named.Option) {
      options.Flags |= named.Flag;
      return true;
    }
  return false;
}

}  // namespace

THostOptions ParseOptions(const std::vector<std::wstring>& arguments) {
  THostOptions options;
  TArgumentReader reader(arguments);
  while (!reader.AtEnd()) {
    const std::wstring& argument = reader.Next();
    if (argument == L"--help" || argument == L"-h" || argument == L"/?") {
      options.Help = true;
    } else if (ApplyNamedFlag(argument, options)) {
    } else if (argument == L"--flags") {
      options.Flags |= ParseNumber(reader.ValueOf(argument));
    } else if (argument == L"--invoke") {
      options.Invoke = reader.ValueOf(argument);
      if (options.Invoke.empty()) Refuse("--invoke needs an item");
    } else if (argument == L"--show") {
      options.Show = ParseShow(reader.ValueOf(argument));
    } else if (argument == L"--no-wait") {
      options.WaitForStarted = false;
    } else if (argument == L"--no-menu") {
      options.PrintMenuTree = false;
    } else if (argument == L"--screenshot") {
      options.Screenshot = reader.ValueOf(argument);
    } else if (argument == L"--modern") {
      options.Modern = true;
    } else if (argument == L"--manifest") {
      options.Manifest = reader.ValueOf(argument);
    } else if (argument == L"--order") {
      options.Order = ParseOrder(reader.ValueOf(argument));
    } else if (argument.starts_with(L"--")) {
      Refuse("unknown option: " + Tools::Utf8(argument));
    } else {
      options.Paths.push_back(argument);
    }
  }
  if (options.Paths.empty() && !options.Help) Refuse("no file or folder given");
  return options;
}

std::string FlagNames(UINT flags) {
  std::string names;
  UINT named = 0;
  for (const TNamedFlag& flag : NamedFlags)
    if (flags & flag.Flag) {
      names += (names.empty() ? "" : " | ") + std::string(flag.Name);
      named |= flag.Flag;
    }
  if (UINT rest = flags & ~named) {
    char number[16];
    std::snprintf(number, sizeof number, "0x%X", rest);
    names += (names.empty() ? "" : " | ") + std::string(number);
  }
  return names.empty() ? "CMF_NORMAL" : names;
}

std::string OrderName(TCallOrder order) {
  for (const TNamedOrder& named : NamedOrders)
    if (named.Order == order) return Tools::Utf8(named.Option);
  return "?";
}

std::string ShowName(int show) {
  for (const TNamedShow& named : NamedShows)
    if (named.Show == show) return named.Name;
  return std::to_string(show);
}

}  // namespace Host
