// What a package manifest says of an Explorer command: its class, the library that serves it and the verb.
#pragma once

#include <windows.h>

#include <string>

namespace Host {

struct TManifestCommand {
  CLSID Class{};
  std::wstring Library;   // the class's Path, in the manifest's folder: the package's external location
  std::wstring Verb;      // the context-menu verb's Id
  std::wstring ItemType;  // the item type the verb is given for, such as "*"
};

// The first context-menu verb and the surrogate-server class it names. Raises EHostError ecNoSuchPath for a
// missing manifest and ecNoHandler for one without such a verb and class.
TManifestCommand ReadManifestCommand(const std::wstring& manifestPath);

}  // namespace Host
