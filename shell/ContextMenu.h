// TContextMenu: the classic context-menu handler class, wiring the handler's operations to the shell's interfaces.
#pragma once

#include "Identities.h"
#include "com/ComObject.h"
#include "com/ComObjectFactory.h"

#include <shlobj.h>

namespace ContextM {

// Every handler object in the process shares one selection and one set of option values, by design: the shell
// may initialize one object and query or invoke another. They live module-wide in shell/Selection.cpp
// (SelectedFiles) and shell/Settings.cpp (the options last read), each behind its own lock.
class TContextMenu : public ComObj::TComImplements<ComObj::TComObject, IContextMenu, IShellExtInit> {
public:
  // IContextMenu
  HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast,
                                             UINT flags) noexcept override;
  HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* info) noexcept override;
  HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR offset, UINT type, UINT* reserved, CHAR* buffer,
                                             UINT bufferSize) noexcept override;

  // IShellExtInit
  HRESULT STDMETHODCALLTYPE Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* dataObject,
                                       HKEY fileTypeKey) noexcept override;
};

// Registers only the class's own entries, as every factory does: attaching it to file types is the installer's
// business.
class TContextMenuFactory : public ComObj::TComObjectFactory {
public:
  using TComObjectFactory::TComObjectFactory;
};

}  // namespace ContextM
