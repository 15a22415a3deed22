// The handler's interface methods: each runs one operation and returns its result as it stands.
#include "ContextMenu.h"

#include "HelpText.h"
#include "Launch.h"
#include "Menu.h"
#include "Selection.h"
#include "com/ComBoundary.h"

namespace ContextM {

// IContextMenu ------------------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE TContextMenu::QueryContextMenu(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast,
                                                         UINT flags) noexcept {
  return ContextM::QueryContextMenu(menu, indexMenu, idCmdFirst, idCmdLast, flags);
}

HRESULT STDMETHODCALLTYPE TContextMenu::InvokeCommand(CMINVOKECOMMANDINFO* info) noexcept {
  return ContextM::InvokeCommand(info);
}

HRESULT STDMETHODCALLTYPE TContextMenu::GetCommandString(UINT_PTR offset, UINT type, UINT*, CHAR* buffer,
                                                         UINT bufferSize) noexcept {
  return ContextM::GetCommandString(offset, type, buffer, bufferSize);
}

// IShellExtInit -----------------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE TContextMenu::Initialize(PCIDLIST_ABSOLUTE, IDataObject* dataObject, HKEY) noexcept {
  return ComObj::CallBoundary([&] { return CaptureSelection(dataObject); });
}

}  // namespace ContextM
