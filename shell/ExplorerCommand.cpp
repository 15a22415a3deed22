// The Explorer command's methods: thin glue over the command table, the show rules and the launch.
#include "ExplorerCommand.h"

#include "ExplorerSelection.h"
#include "com/ComBoundary.h"
#include "com/ModuleInstance.h"
#include "res/IconIds.h"
#include "win32/Module.h"
#include "win32/Text.h"

#include <cstring>
#include <mutex>
#include <string_view>
#include <utility>

namespace ContextM {

namespace {

// Strings handed out through LPWSTR* belong to the caller, who frees them with CoTaskMemFree.
HRESULT HandOut(std::wstring_view text, LPWSTR* out) noexcept {
  if (!out) return E_POINTER;
  *out = static_cast<LPWSTR>(::CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
  if (!*out) return E_OUTOFMEMORY;
  std::memcpy(*out, text.data(), text.size() * sizeof(wchar_t));
  (*out)[text.size()] = L'\0';
  return S_OK;
}

HRESULT NoText(LPWSTR* out, HRESULT result) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  return result;
}

// "<library path>,-<id>": a negative number names a resource id, not an index.
std::wstring IconLocation(int resourceId) {
  return Win32::ModulePath(ComObj::ModuleInstance()) + L",-" + Win32::DecimalText(static_cast<std::size_t>(resourceId));
}

HRESULT HandOutIcon(int resourceId, LPWSTR* icon) { return HandOut(IconLocation(resourceId), icon); }

bool IsEmpty(IShellItemArray* items) {
  DWORD count = 0;
  return !items || FAILED(items->GetCount(&count)) || count == 0;
}

// The options are read as for a classic menu: options that cannot be read show nothing.
bool OptionsReadable() noexcept {
  try {
    ReadOptions();
    return true;
  } catch (...) {
    return false;
  }
}

// A new object counted in the server as the root is, held by one reference.
template <class T>
Win32::TComRef<T> NewCounted(ComObj::TComObjectFactory& factory) {
  return Win32::Referenced(static_cast<T*>(ComObj::TComObject::CreateForFactory<T>(factory, nullptr)));
}

}  // namespace

// IObjectWithSite ---------------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE TSitedCommand::SetSite(IUnknown* site) noexcept {
  Win32::TComRef<IUnknown> previous = Win32::Referenced(site);
  {
    std::lock_guard lock(FSiteLock);
    std::swap(FSite, previous);
  }
  return S_OK;  // the previous site is released outside the lock
}

HRESULT STDMETHODCALLTYPE TSitedCommand::GetSite(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  Win32::TComRef<IUnknown> site = Site();
  return site ? site.copy_to(iid, out) : E_FAIL;
}

Win32::TComRef<IUnknown> TSitedCommand::Site() const noexcept {
  std::lock_guard lock(FSiteLock);
  return FSite;
}

HWND TSitedCommand::SiteWindow() const noexcept {
  Win32::TComRef<IUnknown> site = Site();
  Win32::TComRef<IOleWindow> window = site ? site.query<IOleWindow>() : Win32::TComRef<IOleWindow>();
  if (!window) return nullptr;
  HWND handle = nullptr;
  return SUCCEEDED(window->GetWindow(&handle)) ? handle : nullptr;
}

HRESULT STDMETHODCALLTYPE TSitedCommand::GetCanonicalName(GUID*) noexcept { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE TSitedCommand::Invoke(IShellItemArray*, IBindCtx*) noexcept { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE TSitedCommand::EnumSubCommands(IEnumExplorerCommand** commands) noexcept {
  if (!commands) return E_POINTER;
  *commands = nullptr;
  return E_NOTIMPL;
}

// The root ----------------------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE TExplorerCommand::GetTitle(IShellItemArray* items, LPWSTR* name) noexcept {
  Remember(items);
  return HandOut(L"Tarnwick", name);
}

HRESULT STDMETHODCALLTYPE TExplorerCommand::GetIcon(IShellItemArray* items, LPWSTR* icon) noexcept {
  Remember(items);
  return ComObj::CallBoundary([&] { return HandOutIcon(IDI_TARNWICK, icon); });
}

HRESULT STDMETHODCALLTYPE TExplorerCommand::GetToolTip(IShellItemArray* items, LPWSTR* tip) noexcept {
  Remember(items);
  return NoText(tip, E_NOTIMPL);
}

HRESULT STDMETHODCALLTYPE TExplorerCommand::GetCanonicalName(GUID* name) noexcept {
  if (!name) return E_POINTER;
  *name = CLSID_TarnwickExplorerCommand;
  return S_OK;
}

// On the window thread (okToBeSlow false) only the array's count is asked: the rest waits for the slow call.
HRESULT STDMETHODCALLTYPE TExplorerCommand::GetState(IShellItemArray* items, BOOL okToBeSlow,
                                                     EXPCMDSTATE* state) noexcept {
  if (!state) return E_POINTER;
  Remember(items);
  *state = ECS_HIDDEN;
  if (IsEmpty(items)) return S_OK;
  *state = ECS_ENABLED;
  if (!okToBeSlow) return E_PENDING;
  return ComObj::CallBoundary([&] {
    if (FileSystemPaths(items, 1).empty() || !OptionsReadable()) *state = ECS_HIDDEN;
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TExplorerCommand::GetFlags(EXPCMDFLAGS* flags) noexcept {
  if (!flags) return E_POINTER;
  *flags = ECF_HASSUBCOMMANDS;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TExplorerCommand::EnumSubCommands(IEnumExplorerCommand** commands) noexcept {
  if (!commands) return E_POINTER;
  *commands = nullptr;
  return ComObj::CallBoundary([&] {
    Win32::TComRef<TExplorerCommandEnum> enumerator = NewCounted<TExplorerCommandEnum>(*Factory());
    enumerator->Assign(MakeChildren());
    *commands = enumerator.release();
    return S_OK;
  });
}

// Explorer passes the same array to call after call: keeping it again would only trade one reference for another.
void TExplorerCommand::Remember(IShellItemArray* items) noexcept {
  if (!items) return;
  {
    std::lock_guard lock(FItemsLock);
    if (FItems.get() == items) return;
  }
  Win32::TComRef<IShellItemArray> previous = Win32::Referenced(items);
  std::lock_guard lock(FItemsLock);
  std::swap(FItems, previous);
}

Win32::TComRef<IShellItemArray> TExplorerCommand::RememberedItems() const noexcept {
  std::lock_guard lock(FItemsLock);
  return FItems;
}

// None without a selection or with options that cannot be read, as the classic menu adds nothing then.
std::vector<Win32::TComRef<IExplorerCommand>> TExplorerCommand::MakeChildren() {
  std::vector<Win32::TComRef<IExplorerCommand>> children;
  Win32::TComRef<IShellItemArray> items = RememberedItems();
  TSelection selection = SelectionOfItems(items.get());
  TOptionValues options;
  try {
    options = ReadOptions();
  } catch (...) {
    return children;
  }
  if (!selection) return children;
  Win32::TComRef<IUnknown> site = Site();
  children.reserve(ReservedCommandCount);  // no allocation between a child's release and its slot
  for (const TCommand* command : ShownFor(options, selection)) {
    Win32::TComRef<TExplorerSubCommand> child = NewCounted<TExplorerSubCommand>(*Factory());
    child->Assign(*command, site.get());
    children.emplace_back(child.release());
  }
  return children;
}

// A child ------------------------------------------------------------------------------------------

void TExplorerSubCommand::Assign(const TCommand& command, IUnknown* site) noexcept {
  FCommand = &command;
  SetSite(site);
}

HRESULT STDMETHODCALLTYPE TExplorerSubCommand::GetTitle(IShellItemArray*, LPWSTR* name) noexcept {
  if (IsSeparator()) return NoText(name, S_FALSE);
  return ComObj::CallBoundary([&] { return HandOut(Win32::Widened(FCommand->Caption.view()), name); });
}

HRESULT STDMETHODCALLTYPE TExplorerSubCommand::GetIcon(IShellItemArray*, LPWSTR* icon) noexcept {
  if (FCommand->Icon == 0) return NoText(icon, E_NOTIMPL);
  return ComObj::CallBoundary([&] { return HandOutIcon(FCommand->Icon, icon); });
}

// Names the first path of the array it is given, as the classic text names the first selected path.
HRESULT STDMETHODCALLTYPE TExplorerSubCommand::GetToolTip(IShellItemArray* items, LPWSTR* tip) noexcept {
  if (IsSeparator()) return NoText(tip, E_NOTIMPL);
  return ComObj::CallBoundary([&] {
    TSelection first = FCommand->HelpNamesFirstPath ? SelectionOfItems(items, 1) : nullptr;
    std::optional<std::wstring> text = WideHelpTextOf(*FCommand, first);
    return text ? HandOut(*text, tip) : NoText(tip, E_NOTIMPL);
  });
}

HRESULT STDMETHODCALLTYPE TExplorerSubCommand::GetState(IShellItemArray*, BOOL, EXPCMDSTATE* state) noexcept {
  if (!state) return E_POINTER;
  *state = ECS_ENABLED;
  return S_OK;
}

// As the classic handler answers: E_INVALIDARG for a separator, E_FAIL without a selection.
HRESULT STDMETHODCALLTYPE TExplorerSubCommand::Invoke(IShellItemArray* items, IBindCtx*) noexcept {
  if (IsSeparator()) return E_INVALIDARG;
  return ComObj::CallBoundary([&]() -> HRESULT {
    TSelection selection = SelectionOfItems(items);
    if (!selection) return E_FAIL;
    return LaunchForItems(*FCommand, selection, SiteWindow());
  });
}

HRESULT STDMETHODCALLTYPE TExplorerSubCommand::GetFlags(EXPCMDFLAGS* flags) noexcept {
  if (!flags) return E_POINTER;
  *flags = IsSeparator() ? ECF_ISSEPARATOR : ECF_DEFAULT;
  return S_OK;
}

// The enumerator ------------------------------------------------------------------------------------

void TExplorerCommandEnum::Assign(std::vector<Win32::TComRef<IExplorerCommand>> commands) noexcept {
  FCommands = std::move(commands);
  FPosition = 0;
}

HRESULT STDMETHODCALLTYPE TExplorerCommandEnum::Next(ULONG count, IExplorerCommand** commands,
                                                     ULONG* fetched) noexcept {
  if (!commands) return E_POINTER;
  ULONG given = 0;
  for (; given < count && FPosition < FCommands.size(); ++given) {
    FCommands[FPosition++].copy_to(&commands[given]);
  }
  if (fetched) *fetched = given;
  return given == count ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE TExplorerCommandEnum::Skip(ULONG count) noexcept {
  std::size_t remaining = FCommands.size() - FPosition;
  FPosition += count < remaining ? count : remaining;
  return count <= remaining ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE TExplorerCommandEnum::Reset() noexcept {
  FPosition = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TExplorerCommandEnum::Clone(IEnumExplorerCommand** copy) noexcept {
  if (!copy) return E_POINTER;
  *copy = nullptr;
  return E_NOTIMPL;
}

// The factory ---------------------------------------------------------------------------------------

void TExplorerCommandFactory::ApplyRegistration(bool) {}

}  // namespace ContextM
