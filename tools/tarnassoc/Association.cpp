// The handler key lives under HKEY_CLASSES_ROOT, whatever that key is redirected to in this process.
#include "Association.h"

#include "AssocError.h"
#include "tools/ToolText.h"
#include "win32/Handles.h"
#include "win32/Registry.h"

namespace Assoc {

namespace {

constexpr wchar_t ApprovedName[] = L"Tarnwick";

void SetString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value) {
  Win32::TRegKey key;
  std::string where = Tools::Utf8(path);
  CheckRegistry(::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr),
                "Creating " + where);
  CheckRegistry(Win32::SetStringValue(key.get(), name, value), "Writing " + where);
}

bool NamesClass(const std::wstring& value, const std::wstring& classText) {
  return ::CompareStringOrdinal(value.c_str(), -1, classText.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// NotFound: no such key. Other: it names another class.
enum class THandlerKey { hkNotFound, hkOurs, hkOther };

THandlerKey ExamineHandlerKey(const std::wstring& classText) {
  wchar_t value[128] = L"";
  DWORD size = sizeof value;
  LONG status = ::RegGetValueW(HKEY_CLASSES_ROOT, HandlerKeyPath, nullptr, RRF_RT_REG_SZ, nullptr, value, &size);
  if (status == ERROR_FILE_NOT_FOUND) {
    Win32::TRegKey key;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, HandlerKeyPath, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
      return THandlerKey::hkNotFound;
  }
  return status == ERROR_SUCCESS && NamesClass(value, classText) ? THandlerKey::hkOurs : THandlerKey::hkOther;
}

void RemoveApproval(const TScope& scope, const std::wstring& classText) {
  Win32::TRegKey approved;
  if (::RegOpenKeyExW(scope.ApprovedRoot, ApprovedKeyPath, 0, KEY_SET_VALUE | KEY_QUERY_VALUE, approved.put()) !=
      ERROR_SUCCESS)
    return;
  LONG status = ::RegDeleteValueW(approved.get(), classText.c_str());
  if (status != ERROR_FILE_NOT_FOUND) CheckRegistry(status, "Removing the approval of " + Tools::Utf8(classText));
  approved.reset();
  if (scope.RemoveEmptiedKeys) RemoveEmptyKeys(scope.ApprovedRoot, ApprovedKeyPath, 2);
}

bool IsEmpty(HKEY key) {
  DWORD subkeys = 0, values = 0;
  return ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS &&
         subkeys == 0 && values == 0;
}

}  // namespace

void WriteAssociation(const TScope& scope, const std::wstring& classText) {
  SetString(HKEY_CLASSES_ROOT, HandlerKeyPath, L"", classText);
  SetString(scope.ApprovedRoot, ApprovedKeyPath, classText, ApprovedName);
}

bool RemoveAssociation(const TScope& scope, const std::wstring& classText) {
  THandlerKey handler = ExamineHandlerKey(classText);
  if (handler == THandlerKey::hkOurs) {
    CheckRegistry(::RegDeleteKeyW(HKEY_CLASSES_ROOT, HandlerKeyPath), "Removing " + Tools::Utf8(HandlerKeyPath));
    // "*\shellex\ContextMenuHandlers", "*\shellex" and "*" when the user's own and left empty.
    if (scope.RemoveEmptiedKeys) {
      std::wstring parent(HandlerKeyPath);
      RemoveEmptyKeys(HKEY_CLASSES_ROOT, parent.substr(0, parent.find_last_of(L'\\')), 3);
    }
  }
  RemoveApproval(scope, classText);
  return handler != THandlerKey::hkOther;
}

void RemoveEmptyKeys(HKEY root, std::wstring path, int levels) {
  for (; levels > 0 && !path.empty(); --levels) {
    {
      Win32::TRegKey key;
      if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS || !IsEmpty(key.get())) return;
    }
    if (::RegDeleteKeyW(root, path.c_str()) != ERROR_SUCCESS) return;
    std::size_t slash = path.find_last_of(L'\\');
    path = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
  }
}

}  // namespace Assoc
