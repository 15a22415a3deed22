// The host's command line: the selected paths, the menu flags and what to do with the menu.
#pragma once

#include "CommandTree.h"

#include <windows.h>

#include <string>
#include <vector>

namespace Host {

struct THostOptions {
  std::vector<std::wstring> Paths;
  UINT Flags = 0;              // CMF_NORMAL
  std::wstring Invoke;         // a caption path such as "Tarnwick/Encrypt...", or an offset; empty for none
  int Show = SW_SHOWNORMAL;    // the show command handed to InvokeCommand
  bool WaitForStarted = true;  // wait for the programs that an invoked command starts
  std::wstring Screenshot;     // a PNG file to save the open menu into; empty for none
  bool PrintMenuTree = true;
  bool Help = false;
  // Windows 11's first menu: the Explorer command that a package manifest registers, instead of the classic
  // handlers, read in one of the call orders hosts use.
  bool Modern = false;
  std::wstring Manifest;  // empty: AppxManifest.xml in the folder above the host's, beside the library
  TCallOrder Order = TCallOrder::coExplorer;
};

// Raises EHostError ecUsage for an unknown option, a missing value or no path.
THostOptions ParseOptions(const std::vector<std::wstring>& arguments);

// "CMF_EXPLORE | CMF_DEFAULTONLY", or "CMF_NORMAL".
std::string FlagNames(UINT flags);

// "explorer", "title-first", "enum-first".
std::string OrderName(TCallOrder order);

// "SW_SHOWNORMAL" and the like.
std::string ShowName(int show);

extern const char UsageText[];

}  // namespace Host
