// Redirection of HKEY_CLASSES_ROOT with RegOverridePredefKey, and registry read-back.
#include "ClassesRoot.h"

#include <stdexcept>

namespace Testing {

TRedirectedClassesRoot::TRedirectedClassesRoot()
    : FPath("Software\\tarnctx-tests\\classes-" + std::to_string(::GetCurrentProcessId())) {
  ::RegDeleteTreeA(HKEY_CURRENT_USER, FPath.c_str());
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, FPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, FKey.put(),
                        nullptr) != ERROR_SUCCESS ||
      ::RegOverridePredefKey(HKEY_CLASSES_ROOT, FKey.get()) != ERROR_SUCCESS)
    throw std::runtime_error("cannot redirect HKEY_CLASSES_ROOT");
}

TRedirectedClassesRoot::~TRedirectedClassesRoot() {
  ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
  FKey.reset();
  ::RegDeleteTreeA(HKEY_CURRENT_USER, FPath.c_str());
}

namespace {

void ReadInto(HKEY key, const std::string& path, TRegistryTree& tree) {
  auto& values = tree[path];
  char name[256];
  BYTE data[1024];
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = sizeof name, dataSize = sizeof data, type;
    if (::RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
    std::string text = type == REG_SZ ? std::string(reinterpret_cast<char*>(data), dataSize ? dataSize - 1 : 0)
                                      : "<type " + std::to_string(type) + ">";
    values[std::string(name, nameSize)] = text;
  }
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = sizeof name;
    if (::RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    Win32::TRegKey child;
    if (::RegOpenKeyExA(key, name, 0, KEY_READ, child.put()) != ERROR_SUCCESS) continue;
    ReadInto(child.get(), path.empty() ? name : path + "\\" + name, tree);
  }
}

}  // namespace

TRegistryTree ReadTree(HKEY root) {
  TRegistryTree tree;
  ReadInto(root, "", tree);
  tree.erase("");
  return tree;
}

}  // namespace Testing
