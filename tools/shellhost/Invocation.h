// Choosing a menu item as a user would: the handler's InvokeCommand with the item's offset.
#pragma once

#include "HostedMenu.h"
#include "MenuTree.h"

#include <string>
#include <vector>

namespace Host {

struct TInvocation {
  std::wstring Item;  // as named on the command line
  const THostedHandler* Handler = nullptr;
  UINT Offset = 0;
};

// A caption path names a command item of the menu; a number is an offset of the only handler, passed on as it is
// so that the handler's own answer to it shows. Raises EHostError ecNoSuchItem.
TInvocation ResolveInvocation(const THostedMenu& menu, const std::vector<TMenuNode>& tree, const std::wstring& item);

// InvokeCommand with an owner window, the show command and the selection's folder; raises EHostError ecCallFailed.
void Invoke(const TInvocation& invocation, HWND owner, int show, const std::wstring& folder);

}  // namespace Host
