// Writes and removes a class's entries: the class key, its server key with path and threading model, the ProgID.
#include "Registration.h"

#include "ComObjectFactory.h"
#include "ComServerObject.h"
#include "Exceptions.h"
#include "ModuleInstance.h"
#include "win32/ComText.h"
#include "win32/Handles.h"
#include "win32/Registry.h"
#include "win32/Text.h"

namespace ComObj {

const char* const ThreadModelNames[4] = {"", "Apartment", "Free", "Both"};

std::string ClassIdToText(const GUID& classId) { return Win32::Narrowed(Win32::ClassIdText(classId)); }

void WriteRootValue(const std::string& keyPath, const std::string& valueName, const std::string& data) {
  if (Win32::WriteStringValue(HKEY_CLASSES_ROOT, keyPath, valueName, data) != ERROR_SUCCESS)
    throw EOleError("Error creating system registry entry");
}

void DeleteRootKey(const std::string& keyPath) noexcept { ::RegDeleteKeyA(HKEY_CLASSES_ROOT, keyPath.c_str()); }

std::string RegisteredServerPath(const std::string& modulePath) {
  if (modulePath.find(' ') == std::string::npos) return modulePath;
  char shortPath[MAX_PATH];
  DWORD length = ::GetShortPathNameA(modulePath.c_str(), shortPath, sizeof shortPath);
  // Without a short form the long path still loads; an empty one would make the class unloadable.
  if (length == 0 || length >= sizeof shortPath) return modulePath;
  return std::string(shortPath, length);
}

namespace {

// What both directions compute: class id text, ProgID, server key path.
struct TClassKeys {
  std::string ClassKey, ProgId, ServerKey;
};

TClassKeys ClassKeysOf(TComObjectFactory& factory) {
  std::string classKey = "CLSID\\" + ClassIdToText(factory.ClassId());
  std::string progId = factory.ComposeProgId();
  return {classKey, progId, classKey + "\\" + factory.Server().RegistrationKeyName()};
}

}  // namespace

void RegisterClassEntries(TComObjectFactory& factory) {
  TClassKeys keys = ClassKeysOf(factory);
  WriteRootValue(keys.ClassKey, "", factory.FriendlyName());
  WriteRootValue(keys.ServerKey, "", RegisteredServerPath(factory.Server().ServerFilePath()));
  if (factory.ThreadModel() != thSingle && ModuleIsLibrary)
    WriteRootValue(keys.ServerKey, "ThreadingModel", ThreadModelNames[factory.ThreadModel()]);
  if (keys.ProgId.empty()) return;
  WriteRootValue(keys.ProgId, "", factory.FriendlyName());
  WriteRootValue(keys.ProgId + "\\Clsid", "", ClassIdToText(factory.ClassId()));
  WriteRootValue(keys.ClassKey + "\\ProgID", "", keys.ProgId);
}

void UnregisterClassEntries(TComObjectFactory& factory) {
  TClassKeys keys = ClassKeysOf(factory);
  if (!keys.ProgId.empty()) {
    DeleteRootKey(keys.ClassKey + "\\ProgID");
    DeleteRootKey(keys.ProgId + "\\Clsid");
    DeleteRootKey(keys.ProgId);
  }
  DeleteRootKey(keys.ServerKey);
  DeleteRootKey(keys.ClassKey);
}

}  // namespace ComObj
