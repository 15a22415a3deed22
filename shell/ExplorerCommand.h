// The Explorer command of Windows 11's first menu: a "Tarnwick" root whose children are the classic submenu's
// items, for the same selection and options, starting the same command lines.
#pragma once

#include "CommandTable.h"
#include "Identities.h"
#include "com/ComObject.h"
#include "com/ComObjectFactory.h"
#include "com/ThreadPrimitives.h"
#include "win32/Handles.h"

#include <ocidl.h>
#include <shobjidl.h>

#include <cstddef>
#include <vector>

namespace ContextM {

// A command that keeps the site its host gives it: the site's window owns the command's boxes. What only the root
// or only an item does is answered here as not done: the root is never invoked, an item has no subcommands.
class TSitedCommand : public ComObj::TComImplements<ComObj::TComObject, IExplorerCommand, IObjectWithSite> {
public:
  // IExplorerCommand
  HRESULT STDMETHODCALLTYPE GetCanonicalName(GUID* name) noexcept override;
  HRESULT STDMETHODCALLTYPE Invoke(IShellItemArray* items, IBindCtx* bindContext) noexcept override;
  HRESULT STDMETHODCALLTYPE EnumSubCommands(IEnumExplorerCommand** commands) noexcept override;

  // IObjectWithSite
  HRESULT STDMETHODCALLTYPE SetSite(IUnknown* site) noexcept override;
  HRESULT STDMETHODCALLTYPE GetSite(REFIID iid, void** out) noexcept override;

protected:
  Win32::TComRef<IUnknown> Site() const noexcept;
  // Null without a site or when the site has no window.
  HWND SiteWindow() const noexcept;

private:
  mutable ComObj::TSharedLock FSiteLock;
  Win32::TComRef<IUnknown> FSite;
};

// The root. Each call that carries an item array makes it the one that the next enumeration uses: Explorer
// passes none to EnumSubCommands, and calls the others in no fixed order.
class TExplorerCommand : public TSitedCommand {
public:
  // IExplorerCommand
  HRESULT STDMETHODCALLTYPE GetTitle(IShellItemArray* items, LPWSTR* name) noexcept override;
  HRESULT STDMETHODCALLTYPE GetIcon(IShellItemArray* items, LPWSTR* icon) noexcept override;
  HRESULT STDMETHODCALLTYPE GetToolTip(IShellItemArray* items, LPWSTR* tip) noexcept override;
  HRESULT STDMETHODCALLTYPE GetCanonicalName(GUID* name) noexcept override;
  HRESULT STDMETHODCALLTYPE GetState(IShellItemArray* items, BOOL okToBeSlow, EXPCMDSTATE* state) noexcept override;
  HRESULT STDMETHODCALLTYPE GetFlags(EXPCMDFLAGS* flags) noexcept override;
  HRESULT STDMETHODCALLTYPE EnumSubCommands(IEnumExplorerCommand** commands) noexcept override;

private:
  void Remember(IShellItemArray* items) noexcept;
  Win32::TComRef<IShellItemArray> RememberedItems() const noexcept;
  std::vector<Win32::TComRef<IExplorerCommand>> MakeChildren();

  // Written on Explorer's window thread and read on the thread it asks slow questions on.
  mutable ComObj::TSharedLock FItemsLock;
  Win32::TComRef<IShellItemArray> FItems;
};

// One item or separator of the submenu.
class TExplorerSubCommand : public TSitedCommand {
public:
  void Assign(const TCommand& command, IUnknown* site) noexcept;

  // IExplorerCommand
  HRESULT STDMETHODCALLTYPE GetTitle(IShellItemArray* items, LPWSTR* name) noexcept override;
  HRESULT STDMETHODCALLTYPE GetIcon(IShellItemArray* items, LPWSTR* icon) noexcept override;
  HRESULT STDMETHODCALLTYPE GetToolTip(IShellItemArray* items, LPWSTR* tip) noexcept override;
  HRESULT STDMETHODCALLTYPE GetState(IShellItemArray* items, BOOL okToBeSlow, EXPCMDSTATE* state) noexcept override;
  HRESULT STDMETHODCALLTYPE Invoke(IShellItemArray* items, IBindCtx* bindContext) noexcept override;
  HRESULT STDMETHODCALLTYPE GetFlags(EXPCMDFLAGS* flags) noexcept override;

private:
  bool IsSeparator() const noexcept { return FCommand->Kind == TCommandKind::ckSeparator; }

  const TCommand* FCommand = &CommandTable[0];
};

// The root's children, handed out in order; each one handed out carries its own reference.
class TExplorerCommandEnum : public ComObj::TComImplements<ComObj::TComObject, IEnumExplorerCommand> {
public:
  void Assign(std::vector<Win32::TComRef<IExplorerCommand>> commands) noexcept;

  // IEnumExplorerCommand
  HRESULT STDMETHODCALLTYPE Next(ULONG count, IExplorerCommand** commands, ULONG* fetched) noexcept override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) noexcept override;
  HRESULT STDMETHODCALLTYPE Reset() noexcept override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumExplorerCommand** copy) noexcept override;

private:
  std::vector<Win32::TComRef<IExplorerCommand>> FCommands;
  std::size_t FPosition = 0;
};

class TExplorerCommandFactory : public ComObj::TComObjectFactory {
public:
  using TComObjectFactory::TComObjectFactory;
  // Writes nothing: the package's manifest registers this class, and the classic registration stays as it is.
  void ApplyRegistration(bool registering) override;
};

}  // namespace ContextM
