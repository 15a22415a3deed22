// LoadLibraryExW with the library's own folder searched first, as regsvr32 loads it.
#include "ServerLibrary.h"

#include "AssocError.h"
#include "tools/Paths.h"
#include "tools/ToolText.h"
#include "win32/Module.h"
#include "win32/Text.h"


namespace Assoc {

TServerLibrary::TServerLibrary(const std::wstring& path) : FPath(Tools::FullPath(path)), FModule(FPath) {
  if (!FModule)
    throw EAssocError(TExitCode::ecLibrary,
                      "Cannot load " + Tools::Utf8(FPath) + " (error " + std::to_string(::GetLastError()) + ")");
  if (!FModule.RegisterServer || !FModule.UnregisterServer)
    throw EAssocError(TExitCode::ecLibrary, Tools::Utf8(FPath) + " has no DllRegisterServer and DllUnregisterServer");
}

void TServerLibrary::Register() const { Call(FModule.RegisterServer, "DllRegisterServer"); }

void TServerLibrary::Unregister() const { Call(FModule.UnregisterServer, "DllUnregisterServer"); }

void TServerLibrary::Call(TServerModule::TEntry entry, const char* name) const {
  if (HRESULT result = entry(); FAILED(result)) {
    throw EAssocError(TExitCode::ecRegistration, std::string(name) + " of " + Tools::Utf8(FPath) + " failed: 0x" +
                                                     Win32::HexDigits(static_cast<std::uint32_t>(result)));
  }
}

std::wstring LibraryBesideProgram() {
  std::wstring path = Win32::ModulePath();
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"tarnctx.dll";
}

}  // namespace Assoc
