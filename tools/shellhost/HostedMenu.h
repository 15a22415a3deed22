// The handlers of a selection, each initialized and asked for its items in one real popup menu.
#pragma once

#include "HandlerCreation.h"
#include "HandlerDiscovery.h"
#include "HostError.h"
#include "HostSelection.h"

#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

namespace Host {

struct THostedHandler {
  THandlerEntry Entry;
  std::wstring Via;  // how it was created when not by COM
  Win32::TComRef<IContextMenu> Menu;
  UINT FirstId = 0;  // the first command identifier granted to it
  UINT IdCount = 0;  // how many it reserved
};

struct THandlerFailure {
  THandlerEntry Entry;
  EHostError Error;
};

// The command identifier that QueryContextMenu hands the first handler; each next one starts behind the last.
inline constexpr UINT FirstCommandId = 1000;
inline constexpr UINT LastCommandId = 0x7FFF;

class THostedMenu {
public:
  // A handler that cannot be created, initialized or asked is recorded and left out; when no handler is left,
  // the first failure is raised.
  THostedMenu(const THostSelection& selection, const THandlerSearch& search, THandlerFactory& factory, UINT flags);

  HMENU Menu() const { return FMenu.get(); }
  const std::vector<THostedHandler>& Handlers() const { return FHandlers; }
  const std::vector<THandlerFailure>& Failures() const { return FFailures; }

  struct TCommand {
    const THostedHandler* Handler;
    UINT Offset;
  };
  // The handler that reserved a command identifier, and the identifier's offset in its range.
  std::optional<TCommand> CommandOf(UINT id) const;

  // The status-bar text, as Explorer asks for it: the wide form, else the ANSI one.
  static std::wstring HelpText(IContextMenu& handler, UINT offset);

private:
  void AddHandler(const THandlerEntry& entry, THandlerFactory& factory, const THostSelection& selection,
                  IDataObject& data, UINT flags);

  Win32::TMenu FMenu;
  std::vector<THostedHandler> FHandlers;
  std::vector<THandlerFailure> FFailures;
  UINT FNextId = FirstCommandId;
};

}  // namespace Host
