// The handler's library, loaded to run its own registration exports.
#pragma once

#include "tools/ServerModule.h"

#include <string>

namespace Assoc {

using Tools::TServerModule;

class TServerLibrary {
public:
  // Raises EAssocError ecLibrary when the file cannot be loaded or lacks the exports.
  explicit TServerLibrary(const std::wstring& path);

  const std::wstring& Path() const { return FPath; }
  // DllRegisterServer and DllUnregisterServer; raise EAssocError ecRegistration with the library's answer.
  void Register() const;
  void Unregister() const;

private:
  void Call(TServerModule::TEntry entry, const char* name) const;

  std::wstring FPath;
  Tools::TServerModule FModule;
};

// tarnctx.dll in the folder of this program.
std::wstring LibraryBesideProgram();

}  // namespace Assoc
