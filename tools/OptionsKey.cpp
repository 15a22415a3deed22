// RegCreateKeyExA on every write: a test may delete the key between two of them.
#include "OptionsKey.h"

#include "shell/Identities.h"
#include "win32/Handles.h"
#include "win32/Registry.h"

#include <stdexcept>

namespace Tools {

TOptionsKey::TOptionsKey() { Delete(); }
TOptionsKey::~TOptionsKey() { Delete(); }

void TOptionsKey::Delete() { ::RegDeleteTreeA(HKEY_CURRENT_USER, ContextM::OptionsKeyPath); }

namespace {

Win32::TRegKey CreatedKey() {
  Win32::TRegKey key;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, ContextM::OptionsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot create the options key");
  return key;
}

void CheckSet(LONG status) {
  if (status != ERROR_SUCCESS) throw std::runtime_error("cannot set an option");
}

}  // namespace

void TOptionsKey::SetBytes(const char* name, const void* data, DWORD size, DWORD type) {
  CheckSet(::RegSetValueExA(CreatedKey().get(), name, 0, type, static_cast<const BYTE*>(data), size));
}

void TOptionsKey::SetString(const char* name, const std::string& value, DWORD type) {
  CheckSet(Win32::SetStringValue(CreatedKey().get(), name, value, type));
}

void TOptionsKey::SetDword(const char* name, DWORD value) { SetBytes(name, &value, sizeof value, REG_DWORD); }

}  // namespace Tools
