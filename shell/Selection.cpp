// Selection capture from CF_HDROP, and the module-wide list every handler object reads.
#include "Selection.h"

#include "DropFileList.h"
#include "Shared.h"
#include "win32/Handles.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace ContextM {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the shell's names are UTF-16");

TShared<TSelection> ModuleSelection;

// The system code page does not change while the process runs.
bool UnicodeCodePage() {
  static const bool utf8 = ::GetACP() == CP_UTF8;
  return utf8;
}

// The name in the system code page, or none when that code page cannot hold it exactly: best fit would turn
// a full-width backslash or quote into a real one, and the path could then name another file.
std::optional<std::string> ToAnsiExactly(std::wstring_view name) {
  if (name.empty()) return std::string();
  bool utf8 = UnicodeCodePage();  // holds every name, and refuses the flag and the default check
  BOOL usedDefault = FALSE;
  DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL* lossy = utf8 ? nullptr : &usedDefault;
  // One conversion into room for the longest form: three bytes for a UTF-16 unit in UTF-8, two for a character
  // of a double-byte code page. Paths of usual length need no allocation beyond the result's.
  std::array<char, 3 * (MAX_PATH + 1)> room;
  std::string longName(name.size() * 3 > room.size() ? name.size() * 3 : 0, '\0');
  char* target = longName.empty() ? room.data() : longName.data();
  int capacity = static_cast<int>(longName.empty() ? room.size() : longName.size());
  int size = ::WideCharToMultiByte(CP_ACP, flags, name.data(), static_cast<int>(name.size()), target, capacity,
                                   nullptr, lossy);
  if (size == 0 || usedDefault) return std::nullopt;
  std::string text(target, size);
  // No file name holds a quote; one here would end the path's quotes on the command line.
  if (text.find('"') != std::string::npos) return std::nullopt;
  return text;
}

// The same file by its short name, when the system keeps one and the code page holds it exactly.
std::optional<std::string> ShortFormExactly(const std::wstring& name) {
  DWORD size = ::GetShortPathNameW(name.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring shortName(size, L'\0');
  DWORD length = ::GetShortPathNameW(name.c_str(), shortName.data(), size);
  if (length == 0 || length >= size) return std::nullopt;
  shortName.resize(length);
  return ToAnsiExactly(shortName);
}

// Only for showing the menu and its help texts: such a name is never handed on.
std::string ShownForm(std::wstring_view name) {
  int length = static_cast<int>(name.size());
  DWORD flags = UnicodeCodePage() ? 0 : WC_NO_BEST_FIT_CHARS;
  int size = ::WideCharToMultiByte(CP_ACP, flags, name.data(), length, nullptr, 0, nullptr, nullptr);
  std::string text(size, '\0');
  ::WideCharToMultiByte(CP_ACP, flags, name.data(), length, text.data(), size, nullptr, nullptr);
  return text;
}

std::wstring Widened(const std::string& name) {
  int length = static_cast<int>(name.size());
  std::wstring text(::MultiByteToWideChar(CP_ACP, 0, name.data(), length, nullptr, 0), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, name.data(), length, text.data(), static_cast<int>(text.size()));
  return text;
}

void AddWideName(std::wstring_view name, TSelectedFiles& selection) {
  std::optional<std::string> path = ToAnsiExactly(name);
  if (!path) path = ShortFormExactly(std::wstring(name));
  if (path) return selection.Paths.push_back(std::move(*path));
  selection.Paths.push_back(ShownForm(name));
  selection.Unpassable.emplace_back(name);
}

// The block's UTF-16 names are the platform's wide names, used in place where they are aligned as such.
void AddWideName(std::span<const std::byte> stored, TSelectedFiles& selection) {
  std::size_t length = stored.size() / sizeof(wchar_t);
  if (reinterpret_cast<std::uintptr_t>(stored.data()) % alignof(wchar_t) == 0)
    return AddWideName(std::wstring_view(reinterpret_cast<const wchar_t*>(stored.data()), length), selection);
  std::wstring copied(length, L'\0');
  std::memcpy(copied.data(), stored.data(), stored.size());
  AddWideName(copied, selection);
}

// Single-byte names are already in the system code page. A quote would end the path's quotes, and so would
// a lead byte without its trail byte, which would take the closing quote as its trail.
bool IsPassableAnsi(const std::string& name) {
  int length = static_cast<int>(name.size());
  return name.find('"') == std::string::npos &&
         ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name.data(), length, nullptr, 0) > 0;
}

void AddAnsiName(std::span<const std::byte> stored, TSelectedFiles& selection) {
  std::string name(reinterpret_cast<const char*>(stored.data()), stored.size());
  if (!IsPassableAnsi(name)) selection.Unpassable.push_back(Widened(name));
  selection.Paths.push_back(std::move(name));
}

// None for a malformed block.
std::optional<TSelectedFiles> SelectionFrom(HGLOBAL memory) {
  Win32::TGlobalLock block(memory);
  if (!block.data()) return std::nullopt;
  std::optional<TDropFileList> list =
      LocateDropFileList({static_cast<const std::byte*>(block.data()), block.size()});
  if (!list) return std::nullopt;
  TSelectedFiles selection;
  bool terminated = VisitDropFileNames(*list, [&](std::span<const std::byte> name) {
    list->Wide ? AddWideName(name, selection) : AddAnsiName(name, selection);
  });
  if (!terminated) return std::nullopt;
  return selection;
}

}  // namespace

TSelection MakeSelection(TPathList paths, std::vector<std::wstring> unpassable) {
  return std::make_shared<const TSelectedFiles>(TSelectedFiles{std::move(paths), std::move(unpassable)});
}

TSelection SelectionFromWideNames(std::span<const std::wstring_view> names) {
  TSelectedFiles selection;
  for (std::wstring_view name : names) AddWideName(name, selection);
  return std::make_shared<const TSelectedFiles>(std::move(selection));
}

TSelection SelectedFiles() { return ModuleSelection.Get(); }
void SetSelectedFiles(TSelection selection) { ModuleSelection.Set(std::move(selection)); }
TSelection SpendSelectedFiles() { return ModuleSelection.Exchange(nullptr); }

HRESULT CaptureSelection(IDataObject* dataObject) {
  if (!dataObject) return E_INVALIDARG;
  FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  Win32::TStgMedium medium;
  HRESULT result = dataObject->GetData(&format, medium.put());
  if (FAILED(result)) return result;
  // Any other medium's handle is not a dropped-file list; reading it as one could crash the host.
  if (medium.get().tymed != TYMED_HGLOBAL) return DV_E_TYMED;

  std::optional<TSelectedFiles> selection = SelectionFrom(medium.get().hGlobal);
  if (!selection) {
    // No menu at all rather than one that acts on an earlier right-click's files.
    SetSelectedFiles(nullptr);
    return E_INVALIDARG;
  }
  bool anyPath = !selection->Paths.empty();
  SetSelectedFiles(std::make_shared<const TSelectedFiles>(std::move(*selection)));
  return anyPath ? S_OK : result;
}

}  // namespace ContextM
