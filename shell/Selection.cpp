// Selection capture from CF_HDROP or from wide names, and the module-wide list every handler object reads.
#include "Selection.h"

#include "DropFileList.h"
#include "Shared.h"
#include "win32/Handles.h"
#include "win32/Text.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

namespace ContextM {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the shell's names are UTF-16");

using TMutableSelection = std::shared_ptr<TSelectedFiles>;

// The module's selection, and one it replaced that nobody held any more: the next capture fills that one again,
// its buffers and shared block, rather than faulting in fresh memory as large.
struct TModuleSelection {
  TSelection Current;
  TSelection Spare;  // held by nothing else
};

TShared<TModuleSelection> ModuleSelection;

// Every selection is made as a mutable object and only handed out as const, so that its last holder may reuse it.
TMutableSelection TakeSpare() {
  TSelection spare;
  ModuleSelection.Update([&](TModuleSelection& module) { std::swap(spare, module.Spare); });
  return spare ? std::const_pointer_cast<TSelectedFiles>(spare) : std::make_shared<TSelectedFiles>();
}

// Answers the selection replaced, for its holder to release outside the lock. Nobody can take a new reference
// to a selection that has left the module, so when this is the last one it can be reused.
TSelection Install(TSelection selection) {
  TSelection replaced;
  ModuleSelection.Update([&](TModuleSelection& module) {
    replaced = std::exchange(module.Current, std::move(selection));
    if (!replaced || replaced.use_count() != 1) return;
    std::atomic_thread_fence(std::memory_order_acquire);  // after the other holders' last reads
    std::swap(module.Spare, replaced);
  });
  return replaced;
}

// The system code page does not change while the process runs.
bool UnicodeCodePage() {
  static const bool utf8 = ::GetACP() == CP_UTF8;
  return utf8;
}

// The most bytes one UTF-16 unit can take in the system code page: three in UTF-8, and the code page's longest
// character otherwise.
std::size_t BytesPerUnit() {
  static const std::size_t bytes = [] {
    if (UnicodeCodePage()) return std::size_t{3};
    CPINFO info{};
    return ::GetCPInfo(CP_ACP, &info) ? std::size_t{info.MaxCharSize} : std::size_t{4};
  }();
  return bytes;
}

// Eight bytes at a time: this runs over every selected name, and the C runtime's memchr goes byte by byte.
bool HoldsQuote(const char* text, std::size_t size) {
  constexpr std::uint64_t ones = 0x0101010101010101, highs = 0x8080808080808080, quotes = ones * '"';
  std::size_t at = 0;
  for (; at + sizeof(std::uint64_t) <= size; at += sizeof(std::uint64_t)) {
    std::uint64_t word;
    std::memcpy(&word, text + at, sizeof word);
    std::uint64_t zeroWhereQuote = word ^ quotes;
    if ((zeroWhereQuote - ones) & ~zeroWhereQuote & highs) return true;  // some byte is zero
  }
  return std::memchr(text + at, '"', size - at) != nullptr;
}

// Writes the name in the system code page into target, which has room for BytesPerUnit() a unit; the bytes
// written, or none when that code page cannot hold it exactly: best fit would turn a full-width backslash or
// quote into a real one, and the path could then name another file.
std::optional<std::size_t> ConvertExactly(std::wstring_view name, char* target) {
  if (name.empty()) return 0;
  bool utf8 = UnicodeCodePage();  // holds every name, and refuses the flag and the default check
  BOOL usedDefault = FALSE;
  int size =
      ::WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, name.data(), static_cast<int>(name.size()), target,
                            static_cast<int>(name.size() * BytesPerUnit()), nullptr, utf8 ? nullptr : &usedDefault);
  if (size == 0 || usedDefault) return std::nullopt;
  // No file name holds a quote; one here would end the path's quotes on the command line.
  if (HoldsQuote(target, static_cast<std::size_t>(size))) return std::nullopt;
  return static_cast<std::size_t>(size);
}

// The same file by its short name, when the system keeps one and the code page holds it exactly.
std::optional<std::string> ShortFormExactly(std::wstring_view name) {
  std::wstring longName(name);
  DWORD size = ::GetShortPathNameW(longName.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring shortName(size, L'\0');
  DWORD length = ::GetShortPathNameW(longName.c_str(), shortName.data(), size);
  if (length == 0 || length >= size) return std::nullopt;
  std::string text(length * BytesPerUnit(), '\0');
  std::optional<std::size_t> converted = ConvertExactly({shortName.data(), length}, text.data());
  if (!converted) return std::nullopt;
  text.resize(*converted);
  return text;
}

// Only for showing the menu and its help texts: such a name is never handed on.
std::string ShownForm(std::wstring_view name) {
  return Win32::Narrowed(name, CP_ACP, UnicodeCodePage() ? 0 : WC_NO_BEST_FIT_CHARS);
}

// Single-byte names are already in the system code page. A quote would end the path's quotes, and so would
// a lead byte without its trail byte, which would take the closing quote as its trail.
bool IsPassableAnsi(std::string_view name) {
  int length = static_cast<int>(name.size());
  return name.find('"') == std::string_view::npos &&
         ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name.data(), length, nullptr, 0) > 0;
}

// Converts each name straight into the selection's one buffer, reserved ahead for the longest conversion.
class TSelectionBuilder {
public:
  // Fills target from empty, in the buffers it already has where they are large enough.
  TSelectionBuilder(TSelectedFiles& target, std::size_t reservedBytes) : FSelection(target) {
    FSelection.Paths.Clear();
    FSelection.Unpassable.Clear();
    FSelection.Paths.Reserve(reservedBytes);
  }

  void AddWide(std::wstring_view name) {
    char* target = FSelection.Paths.Room(name.size() * BytesPerUnit());
    if (std::optional<std::size_t> size = ConvertExactly(name, target)) return FSelection.Paths.Commit(*size);
    if (std::optional<std::string> shortForm = ShortFormExactly(name)) return FSelection.Paths.Append(*shortForm);
    FSelection.Paths.Append(ShownForm(name));
    FSelection.Unpassable.Append(name);
  }

  // The block's UTF-16 names are the platform's wide names, used in place where they are aligned as such.
  void AddWide(std::span<const std::byte> stored) {
    std::size_t length = stored.size() / sizeof(wchar_t);
    if (reinterpret_cast<std::uintptr_t>(stored.data()) % alignof(wchar_t) == 0)
      return AddWide(std::wstring_view(reinterpret_cast<const wchar_t*>(stored.data()), length));
    FAligned.resize(length);
    std::memcpy(FAligned.data(), stored.data(), stored.size());
    AddWide(FAligned);
  }

  void AddAnsi(std::span<const std::byte> stored) {
    std::string_view name(reinterpret_cast<const char*>(stored.data()), stored.size());
    if (!IsPassableAnsi(name)) FSelection.Unpassable.Append(Win32::Widened(name));
    FSelection.Paths.Append(name);
  }

  void Finish() { FSelection.Paths.ShrinkWhenSparse(); }

private:
  TSelectedFiles& FSelection;
  std::wstring FAligned;  // a misaligned name's copy, reused from name to name
};

// False for a malformed block.
bool SelectionFrom(HGLOBAL memory, TSelectedFiles& selection) {
  Win32::TGlobalLock block(memory);
  if (!block.data()) return false;
  std::optional<TDropFileList> list = LocateDropFileList({static_cast<const std::byte*>(block.data()), block.size()});
  if (!list) return false;
  std::size_t units = list->Wide ? list->Names.size() / sizeof(wchar_t) : list->Names.size();
  TSelectionBuilder builder(selection, list->Wide ? units * BytesPerUnit() : units);
  bool terminated = VisitDropFileNames(
      *list, [&](std::span<const std::byte> name) { list->Wide ? builder.AddWide(name) : builder.AddAnsi(name); });
  if (!terminated) return false;
  builder.Finish();
  return true;
}

}  // namespace

TSelection MakeSelection(const TPathList& paths, const std::vector<std::wstring>& unpassable) {
  TMutableSelection selection = std::make_shared<TSelectedFiles>();
  for (const std::string& path : paths) selection->Paths.Append(path);
  for (const std::wstring& name : unpassable) selection->Unpassable.Append(name);
  return selection;
}

TSelection SelectionFromWideNames(std::span<const std::wstring_view> names) {
  std::size_t units = 0;
  for (std::wstring_view name : names) units += name.size() + 1;
  TMutableSelection selection = std::make_shared<TSelectedFiles>();
  TSelectionBuilder builder(*selection, units * BytesPerUnit());
  for (std::wstring_view name : names) builder.AddWide(name.substr(0, name.find(L'\0')));
  builder.Finish();
  return selection;
}

TSelection SelectedFiles() {
  TSelection selection;
  ModuleSelection.Update([&](const TModuleSelection& module) { selection = module.Current; });
  return selection;
}

void SetSelectedFiles(TSelection selection) { Install(std::move(selection)); }

TSelection SpendSelectedFiles() {
  TSelection spent;
  ModuleSelection.Update([&](TModuleSelection& module) { spent = std::exchange(module.Current, nullptr); });
  return spent;
}

HRESULT CaptureSelection(IDataObject* dataObject) {
  if (!dataObject) return E_INVALIDARG;
  FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  Win32::TStgMedium medium;
  HRESULT result = dataObject->GetData(&format, medium.put());
  if (FAILED(result)) return result;
  // Any other medium's handle is not a dropped-file list; reading it as one could crash the host.
  if (medium.get().tymed != TYMED_HGLOBAL) return DV_E_TYMED;

  TMutableSelection selection = TakeSpare();
  if (!SelectionFrom(medium.get().hGlobal, *selection)) {
    // No menu at all rather than one that acts on an earlier right-click's files.
    SetSelectedFiles(nullptr);
    return E_INVALIDARG;
  }
  bool anyPath = !selection->Paths.empty();
  SetSelectedFiles(std::move(selection));
  return anyPath ? S_OK : result;
}

}  // namespace ContextM
