// Creates handler objects in this process, as Explorer does for the classes the registry names.
#pragma once

#include "tools/ServerModule.h"
#include "win32/Handles.h"

#include <shlobj.h>

#include <string>
#include <vector>

namespace Host {

class THandlerFactory {
public:
  THandlerFactory() = default;
  THandlerFactory(const THandlerFactory&) = delete;
  THandlerFactory& operator=(const THandlerFactory&) = delete;
  // Frees the servers it loaded itself that agree to unload; every handler must be released before.
  ~THandlerFactory();

  struct TCreated {
    Win32::TComRef<IShellExtInit> Init;
    std::wstring Via;  // empty when COM created it
  };

  // CoCreateInstance, in process. A class that only the user has registered is created from that registration
  // (DllGetClassObject of its in-process server): Windows' COM reads the user's classes, Wine's does not.
  // Raises EHostError ecCannotCreate with COM's answer.
  TCreated Create(const CLSID& classId);

private:
  Win32::TComRef<IShellExtInit> CreateFromUserRegistration(const CLSID& classId, const std::wstring& server);
  std::vector<Tools::TServerModule> FServers;
};

}  // namespace Host
