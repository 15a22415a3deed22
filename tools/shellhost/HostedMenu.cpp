// Initialize with the parent folder, the shell's data object and the type's key; then QueryContextMenu.
#include "HostedMenu.h"

#include "tools/ToolText.h"

namespace Host {

THostedMenu::THostedMenu(const THostSelection& selection, const THandlerSearch& search, THandlerFactory& factory,
                         UINT flags)
    : FMenu(::CreatePopupMenu()) {
  if (!FMenu) CheckCall(HRESULT_FROM_WIN32(::GetLastError()), "CreatePopupMenu");
  Win32::TComRef<IDataObject> data = selection.DataObject();
  for (const THandlerEntry& entry : search.Handlers) {
    try {
      AddHandler(entry, factory, selection, *data, flags);
    } catch (const EHostError& error) {
      FFailures.push_back({entry, error});
    }
  }
  if (FHandlers.empty() && !FFailures.empty()) throw FFailures.front().Error;
}

void THostedMenu::AddHandler(const THandlerEntry& entry, THandlerFactory& factory, const THostSelection& selection,
                             IDataObject& data, UINT flags) {
  THandlerFactory::TCreated created = factory.Create(entry.Class);
  TItemIdList folder = selection.FolderIdList();
  TClassKey typeKey = OpenTypeKey(selection.Items().front());
  CheckCall(created.Init->Initialize(folder.get(), &data, typeKey.Key.get()), "IShellExtInit::Initialize");

  Win32::TComRef<IContextMenu> menu;
  CheckCall(created.Init.query(menu), "QueryInterface for IContextMenu");
  THostedHandler hosted{entry, std::move(created.Via), std::move(menu), FNextId, 0};
  UINT position = static_cast<UINT>(::GetMenuItemCount(FMenu.get()));
  HRESULT result = hosted.Menu->QueryContextMenu(FMenu.get(), position, FNextId, LastCommandId, flags);
  CheckCall(result, "IContextMenu::QueryContextMenu");
  hosted.IdCount = HRESULT_CODE(result);
  FNextId += hosted.IdCount;
  FHandlers.push_back(std::move(hosted));
}

std::optional<THostedMenu::TCommand> THostedMenu::CommandOf(UINT id) const {
  for (const THostedHandler& handler : FHandlers)
    if (id >= handler.FirstId && id - handler.FirstId < handler.IdCount)
      return TCommand{&handler, id - handler.FirstId};
  return std::nullopt;
}

std::wstring THostedMenu::HelpText(IContextMenu& handler, UINT offset) {
  wchar_t wide[512] = L"";
  if (SUCCEEDED(
          handler.GetCommandString(offset, GCS_HELPTEXTW, nullptr, reinterpret_cast<LPSTR>(wide), ARRAYSIZE(wide))) &&
      wide[0])
    return wide;
  char ansi[512] = "";
  if (FAILED(handler.GetCommandString(offset, GCS_HELPTEXTA, nullptr, ansi, sizeof ansi))) return {};
  ansi[sizeof ansi - 1] = '\0';
  return Tools::FromAnsi(ansi);
}

}  // namespace Host
