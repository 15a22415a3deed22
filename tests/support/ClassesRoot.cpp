// A per-process scratch key for HKEY_CLASSES_ROOT, and each key's string values read back.
#include "ClassesRoot.h"

#include "win32/Text.h"

namespace Testing {

TRedirectedClassesRoot::TRedirectedClassesRoot()
    : TClassesRootRedirection(L"Software\\tarnctx-tests\\classes-" + std::to_wstring(::GetCurrentProcessId()),
                              Tools::TRedirectedKey::rkScratch) {}

namespace {

void ReadValues(HKEY key, std::map<std::string, std::string>& values) {
  char name[256];
  BYTE data[1024];
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = sizeof name, dataSize = sizeof data, type;
    if (::RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
    std::string text = type == REG_SZ ? std::string(reinterpret_cast<char*>(data), dataSize ? dataSize - 1 : 0)
                                      : "<type " + std::to_string(type) + ">";
    values[std::string(name, nameSize)] = text;
  }
}

}  // namespace

TRegistryTree ReadTree(HKEY root) {
  TRegistryTree tree;
  Tools::WalkRegistryTree(
      root, [&tree](HKEY key, const std::wstring& path) { ReadValues(key, tree[Win32::Narrowed(path)]); });
  tree.erase("");
  return tree;
}

}  // namespace Testing
