// Opening class keys read-only in both roots, and reading their names and default values.
#include "ClassesView.h"

#include <array>

namespace Host {

namespace {

struct TRoot {
  HKEY Key;
  const wchar_t* Prefix;  // below the root
  const wchar_t* Name;
  bool PerUser;
};

const std::array<TRoot, 2> Roots{{
    {HKEY_CURRENT_USER, L"Software\\Classes\\", L"HKCU\\Software\\Classes\\", true},
    {HKEY_CLASSES_ROOT, L"", L"HKCR\\", false},
}};

}  // namespace

std::vector<TClassKey> OpenClassKeys(const std::wstring& path) {
  std::vector<TClassKey> keys;
  for (const TRoot& root : Roots) {
    TClassKey found{{}, root.Name + path, root.PerUser};
    if (::RegOpenKeyExW(root.Key, (root.Prefix + path).c_str(), 0, KEY_READ, found.Key.put()) == ERROR_SUCCESS)
      keys.push_back(std::move(found));
  }
  return keys;
}

TClassKey OpenClassKey(const std::wstring& path) {
  std::vector<TClassKey> keys = OpenClassKeys(path);
  return keys.empty() ? TClassKey{} : std::move(keys.front());
}

std::wstring DefaultValue(HKEY key, const std::wstring& subkey) {
  wchar_t value[1024];
  DWORD size = sizeof value;
  if (::RegGetValueW(key, subkey.empty() ? nullptr : subkey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return {};
  return value;
}

}  // namespace Host
