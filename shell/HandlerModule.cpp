// The handler module's start-up creates its two factories; the server module owns and destroys them.
#include "HandlerModule.h"

#include "ContextMenu.h"
#include "ExplorerCommand.h"
#include "Menu.h"
#include "Selection.h"
#include "Settings.h"
#include "com/ComServer.h"

namespace ContextM {

void InitializeHandlerModule() {
  SetSelectedFiles(nullptr);
  // The registry lists them and the server module frees them at unload; nothing here keeps them.
  new TContextMenuFactory(*ComServ::ModuleServer, ComObj::ClassOf<TContextMenu>, CLSID_TarnwickContextMenu, "",
                          "Orrery 4.0 Context Menu Shell Extension Example", ComObj::imMultiUse, ComObj::thApartment);
  new TExplorerCommandFactory(*ComServ::ModuleServer, ComObj::ClassOf<TExplorerCommand>, CLSID_TarnwickExplorerCommand,
                              "", "Tarnwick Explorer Command", ComObj::imMultiUse, ComObj::thApartment);
}

void FinalizeHandlerModule() noexcept {
  ClearCarrierMask();
  ReleaseSubmenuBitmap();
}

}  // namespace ContextM
