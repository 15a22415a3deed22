// RegOverridePredefKey, undone with a null key; RegEnumKeyExW key by key until there are no more.
#include "Registry.h"

#include "win32/ComText.h"
#include "win32/Text.h"

namespace Tools {

namespace {

void Check(LONG status, const std::string& step) {
  if (status != ERROR_SUCCESS) throw ERegistryError(status, step);
}

void Walk(HKEY key, const std::wstring& path, const std::function<void(HKEY, const std::wstring&)>& visit) {
  visit(key, path);
  for (const std::wstring& name : SubkeyNames(key)) {
    std::wstring childPath = path.empty() ? name : path + L"\\" + name;
    Win32::TRegKey child;
    Check(::RegOpenKeyExW(key, name.c_str(), 0, KEY_READ, child.put()),
          "Opening " + Win32::Narrowed(childPath, CP_UTF8));
    Walk(child.get(), childPath, visit);
  }
}

}  // namespace

ERegistryError::ERegistryError(LONG status, const std::string& step)
    : std::runtime_error(step + ": registry error " + std::to_string(status)), FStatus(status), FStep(step) {}

TClassesRootRedirection::TClassesRootRedirection(std::wstring path, TRedirectedKey kind)
    : FPath(std::move(path)), FKind(kind) {
  if (FKind == TRedirectedKey::rkScratch) ::RegDeleteTreeW(HKEY_CURRENT_USER, FPath.c_str());
  Check(
      ::RegCreateKeyExW(HKEY_CURRENT_USER, FPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, FKey.put(), nullptr),
      "Opening HKEY_CURRENT_USER\\" + Win32::Narrowed(FPath, CP_UTF8));
  Check(::RegOverridePredefKey(HKEY_CLASSES_ROOT, FKey.get()), "Redirecting HKEY_CLASSES_ROOT");
}

TClassesRootRedirection::~TClassesRootRedirection() {
  ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
  FKey.reset();
  if (FKind == TRedirectedKey::rkScratch) ::RegDeleteTreeW(HKEY_CURRENT_USER, FPath.c_str());
}

std::vector<std::wstring> SubkeyNames(HKEY key) {
  std::vector<std::wstring> names;
  wchar_t name[256];  // the longest name a key can have, and its NUL
  for (DWORD index = 0;; ++index) {
    DWORD length = ARRAYSIZE(name);
    if (::RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

void WalkRegistryTree(HKEY key, const std::function<void(HKEY key, const std::wstring& path)>& visit) {
  Walk(key, L"", visit);
}

bool IsClassRegistered(const CLSID& classId) {
  Win32::TRegKey key;
  std::wstring path = L"CLSID\\" + Win32::ClassIdText(classId) + L"\\InprocServer32";
  return ::RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

}  // namespace Tools
