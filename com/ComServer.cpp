// The server module object: counts for unloading, the module's path and title, registration and teardown.
#include "ComServer.h"

#include "ComClassManager.h"
#include "ComObjectFactory.h"
#include "Exceptions.h"
#include "ModuleInstance.h"
#include "win32/Handles.h"
#include "win32/Module.h"
#include "win32/Text.h"

#include <string_view>

namespace ComServ {

using namespace ComObj;

namespace {

// Words are split at blanks and control characters, as the C locale's white space; a string stream
// would do the same but pulls the whole iostream and locale machinery into the library.
bool HasSwitch(std::string_view commandLine, const char* name) {
  constexpr std::string_view Blanks = " \t\n\v\f\r";
  for (auto start = commandLine.find_first_not_of(Blanks); start != std::string_view::npos;) {
    auto end = commandLine.find_first_of(Blanks, start);
    std::string word(commandLine.substr(start, end - start));
    if (word.size() > 1 && (word[0] == '-' || word[0] == '/') && ::lstrcmpiA(word.c_str() + 1, name) == 0) return true;
    start = commandLine.find_first_not_of(Blanks, end);  // npos stays npos
  }
  return false;
}

// How the host process was started; only an executable server acts on it.
TLaunchMode LaunchModeOf(std::string_view commandLine) {
  if (HasSwitch(commandLine, "AUTOMATION") || HasSwitch(commandLine, "EMBEDDING")) return lmAutomation;
  if (HasSwitch(commandLine, "REGSERVER")) return lmRegister;
  if (HasSwitch(commandLine, "UNREGSERVER")) return lmUnregister;
  return lmNormal;
}

}  // namespace

TComServer::TComServer() : FInProcess(ModuleIsLibrary), FLaunchMode(LaunchModeOf(::GetCommandLineA())) {}

TComServer::~TComServer() {
  ClassManager().VisitFactories(*this, [](TComObjectFactory& factory) { delete &factory; });
  if (ITypeLib* library = FTypeLibrary.exchange(nullptr)) library->Release();
}

// Counts ------------------------------------------------------------------------------------------------

LONG TComServer::AdjustObjectCount(bool created) {
  // At 0 an executable server would consider closing; a library waits for DllCanUnloadNow.
  return created ? ++FLiveObjects : --FLiveObjects;
}

LONG TComServer::AdjustFactoryCount(bool created) { return created ? ++FFactoryRefs : --FFactoryRefs; }

// Identity ----------------------------------------------------------------------------------------------

std::string TComServer::ServerFilePath() { return ModulePath(); }

std::string TComServer::RegistrationKeyName() { return FInProcess ? "InprocServer32" : "LocalServer32"; }

std::string TComServer::ServerTitle() {
  if (!FServerTitle.empty()) return FServerTitle;
  if (ITypeLib* library = FTypeLibrary.load()) return TypeLibraryName(library);
  return ModuleBaseName();
}

// Type library ------------------------------------------------------------------------------------------

ITypeLib* TComServer::TypeLibrary() {
  LoadOwnTypeLibrary();
  ITypeLib* library = FTypeLibrary.load();
  library->AddRef();
  return library;
}

void TComServer::LoadOwnTypeLibrary() {
  if (FTypeLibrary.load()) return;
  if (ITypeLib* displaced = FTypeLibrary.exchange(OpenTypeLibrary(ModulePath()))) displaced->Release();
}

void TComServer::UnregisterTypeLibrary() {
  HMODULE oleAut = ::GetModuleHandleA("OLEAUT32.DLL");
  if (!oleAut) return;
  using TUnregister = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
  auto unregister = reinterpret_cast<TUnregister>(::GetProcAddress(oleAut, "UnRegisterTypeLib"));
  if (!unregister) return;
  ITypeLib* library = FTypeLibrary.load();
  TLIBATTR* attributes;
  CheckOleResult(library->GetLibAttr(&attributes));
  TLIBATTR copy = *attributes;
  library->ReleaseTLibAttr(attributes);
  CheckOleResult(unregister(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid, copy.syskind));
}

// Registration ------------------------------------------------------------------------------------------

void TComServer::UpdateServerRegistration(bool registering) {
  if (ITypeLib* library = FTypeLibrary.load()) {
    if (registering)
      RegisterTypeLibrary(library, ModulePath());
    else
      UnregisterTypeLibrary();
  }
  FRegistering = registering;
  ClassManager().VisitFactories(*this, [this](TComObjectFactory& factory) {
    if (factory.InstancingMode() != imInternal) factory.ApplyRegistration(FRegistering);
  });
}

// The module-wide server ----------------------------------------------------------------------------------

void CreateModuleServer() { ModuleServer = std::make_unique<TComServer>(); }

void DestroyModuleServer() noexcept { ModuleServer.reset(); }

// Module routines -----------------------------------------------------------------------------------------

std::string ModulePath() { return Win32::Narrowed(Win32::ModulePath(ModuleInstance())); }

std::string ModuleBaseName() {
  std::string name = ModulePath();
  name.erase(0, name.find_last_of("\\/:") + 1);
  if (std::size_t dot = name.find_last_of('.'); dot != std::string::npos) name.erase(dot);
  return name;
}

ITypeLib* OpenTypeLibrary(const std::string& path) {
  ITypeLib* library = nullptr;
  CheckOleResult(::LoadTypeLib(Win32::Widened(path).c_str(), &library));
  return library;
}

void RegisterTypeLibrary(ITypeLib* library, const std::string& path) {
  std::wstring widePath = Win32::Widened(path);
  std::wstring helpFolder = Win32::Widened(path.substr(0, path.find_last_of('\\') + 1));
  CheckOleResult(::RegisterTypeLib(library, widePath.data(), helpFolder.data()));
}

std::string TypeLibraryName(ITypeLib* library) {
  Win32::TBString name;
  CheckOleResult(library->GetDocumentation(-1, name.put(), nullptr, nullptr, nullptr));
  return Win32::Narrowed(name.get() ? name.get() : L"");
}

}  // namespace ComServ
