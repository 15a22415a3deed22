// Handler entries are named by class identifier: the key's own name, or else its default value.
#include "HandlerDiscovery.h"

#include "tools/Registry.h"

#include <objbase.h>

#include <algorithm>
#include <optional>

namespace Host {

namespace {

constexpr wchar_t HandlersKey[] = L"\\shellex\\ContextMenuHandlers";

std::wstring Extension(const std::wstring& name) {
  std::size_t dot = name.find_last_of(L'.');
  return dot == std::wstring::npos ? std::wstring() : name.substr(dot);
}

std::wstring ProgIdOf(const TSelectedItem& item) {
  std::wstring extension = Extension(item.Name);
  if (extension.empty()) return {};
  TClassKey key = OpenClassKey(extension);
  return key.Key ? DefaultValue(key.Key.get()) : std::wstring();
}

// Only the braced form: CLSIDFromString would also look a ProgID up.
std::optional<CLSID> ParseClass(const std::wstring& text) {
  CLSID classId;
  if (text.size() != 38 || text.front() != L'{' || text.back() != L'}') return std::nullopt;
  if (FAILED(::CLSIDFromString(text.c_str(), &classId))) return std::nullopt;
  return classId;
}

bool Listed(const std::vector<THandlerEntry>& handlers, const CLSID& classId) {
  return std::any_of(handlers.begin(), handlers.end(),
                     [&](const THandlerEntry& entry) { return ::IsEqualCLSID(entry.Class, classId); });
}

void CollectHandlers(const TClassKey& handlersKey, std::vector<THandlerEntry>& handlers) {
  for (const std::wstring& name : Tools::SubkeyNames(handlersKey.Key.get())) {
    std::optional<CLSID> classId = ParseClass(name);
    if (!classId) classId = ParseClass(DefaultValue(handlersKey.Key.get(), name));
    if (classId && !Listed(handlers, *classId))
      handlers.push_back({*classId, handlersKey.Where + L"\\" + name, handlersKey.PerUser});
  }
}

}  // namespace

std::vector<std::wstring> HandlerKeysFor(const TSelectedItem& item) {
  if (item.IsFolder) return {L"Directory", L"Folder", L"AllFilesystemObjects"};
  std::vector<std::wstring> keys;
  if (std::wstring progId = ProgIdOf(item); !progId.empty()) keys.push_back(progId);
  keys.push_back(L"*");
  keys.push_back(L"AllFilesystemObjects");
  return keys;
}

THandlerSearch FindHandlers(const TSelectedItem& first) {
  THandlerSearch search;
  search.Keys = HandlerKeysFor(first);
  for (const std::wstring& key : search.Keys)
    for (const TClassKey& handlersKey : OpenClassKeys(key + HandlersKey)) CollectHandlers(handlersKey, search.Handlers);
  return search;
}

TClassKey OpenTypeKey(const TSelectedItem& item) {
  if (item.IsFolder) return OpenClassKey(L"Directory");
  for (const std::wstring& candidate : {ProgIdOf(item), Extension(item.Name), std::wstring(L"*")}) {
    if (candidate.empty()) continue;
    if (TClassKey key = OpenClassKey(candidate); key.Key) return key;
  }
  return {};
}

}  // namespace Host
