// The registry entries of a COM class under HKEY_CLASSES_ROOT, written at registration and removed again.
#pragma once

#include <windows.h>

#include <string>

namespace ComObj {

class TComObjectFactory;

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case; a failure of the platform is raised.
std::string ClassIdToText(const GUID& classId);

// Creates the key (and those above it) under HKEY_CLASSES_ROOT and sets a string value; an empty name sets
// the default value. Raises EOleError "Error creating system registry entry".
void WriteRootValue(const std::string& keyPath, const std::string& valueName, const std::string& data);

// Deletes one key under HKEY_CLASSES_ROOT; a missing key or one with subkeys is left as it is.
void DeleteRootKey(const std::string& keyPath) noexcept;

// The path registered for the server: its short form when it has a blank and the system gives one.
std::string RegisteredServerPath(const std::string& modulePath);

// The "ThreadingModel" text per threading model; empty writes none.
extern const char* const ThreadModelNames[4];

// Writes the class's entries in order, stopping at the first failure; nothing written is undone.
void RegisterClassEntries(TComObjectFactory& factory);
// Deletes the class's keys, deepest first, ignoring every registry failure.
void UnregisterClassEntries(TComObjectFactory& factory);

}  // namespace ComObj
