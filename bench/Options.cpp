// Both filters on, and a carrier mask that holds the benchmark's own file extension.
#include "Options.h"

#include "win32/Handles.h"
#include "shell/Settings.h"

#include <stdexcept>
#include <string>

namespace Bench {

TOptions::TOptions() {
  Win32::TRegKey key;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, ContextM::OptionsKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot create the options key");
  for (auto [name, value] : {std::pair{"DecryptSec", "1"}, {"UnhideInst", "1"}, {"UnhideMask", "*.TWK;*.BMP"}}) {
    std::string text = value;
    ::RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
  }
}

TOptions::~TOptions() { ::RegDeleteTreeA(HKEY_CURRENT_USER, ContextM::OptionsKeyPath); }

}  // namespace Bench
