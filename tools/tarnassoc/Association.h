// The entries that attach the handler class to all files, and the shell's list of approved extensions.
#pragma once

#include <windows.h>

#include <string>

namespace Assoc {

inline constexpr wchar_t HandlerKeyPath[] = L"*\\shellex\\ContextMenuHandlers\\Tarnwick";
inline constexpr wchar_t ApprovedKeyPath[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

// Which keys hold the entries: the machine's (HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE), or the user's own
// (HKEY_CLASSES_ROOT redirected to HKEY_CURRENT_USER\Software\Classes, and HKEY_CURRENT_USER).
struct TScope {
  HKEY ApprovedRoot;
  // The user's keys above the entries exist only for such entries: emptied, they go too. The machine's are
  // standard keys and stay.
  bool RemoveEmptiedKeys;
};

// Sets the handler key's default value to the class identifier, and the class's value in the approved list.
void WriteAssociation(const TScope& scope, const std::wstring& classText);

// Deletes the handler key when it names this class (a key naming another class is left alone and false
// returned) and the class's value in the approved list. Nothing there is no failure.
bool RemoveAssociation(const TScope& scope, const std::wstring& classText);

// Deletes the key when it is empty, then each key above it that is left empty: at most `levels` keys.
void RemoveEmptyKeys(HKEY root, std::wstring path, int levels);

}  // namespace Assoc
