// TComServer and ModuleServer: the loaded library as a whole, its counts, identity and factory walks.
#pragma once

#include "ComServerObject.h"

#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace ComServ {

enum TLaunchMode : std::uint8_t { lmNormal, lmAutomation, lmRegister, lmUnregister };

class TComServer : public ComObj::TComServerObject {
public:
  TComServer();
  // Destroys every factory of this server; each leaves the registry as it goes.
  ~TComServer() override;

  LONG AdjustObjectCount(bool created) override;
  LONG AdjustFactoryCount(bool created) override;
  std::string HelpFilePath() override { return FHelpFilePath; }
  std::string ServerFilePath() override;
  std::string RegistrationKeyName() override;
  std::string ServerTitle() override;
  bool RegistersSuspended() override { return FRegistersSuspended; }
  ITypeLib* TypeLibrary() override;
  void SetHelpFilePath(const std::string& value) override { FHelpFilePath = value; }

  // Registers (true) or unregisters (false) the loaded type library, if any, and every factory of this
  // server that is not internal. Failures are raised; what was done before them stays.
  void UpdateServerRegistration(bool registering);
  void LoadOwnTypeLibrary();

  // Read without a lock: each is a snapshot.
  LONG LiveObjects() const noexcept { return FLiveObjects.load(); }
  LONG FactoryRefs() const noexcept { return FFactoryRefs.load(); }
  TLaunchMode LaunchMode() const noexcept { return FLaunchMode; }
  bool Registering() const noexcept { return FRegistering; }

private:
  void UnregisterTypeLibrary();

  std::atomic<LONG> FLiveObjects{0};  // live counted objects plus server locks
  std::atomic<LONG> FFactoryRefs{0};  // references on the factories' class-factory interfaces
  std::atomic<ITypeLib*> FTypeLibrary{nullptr};
  std::string FServerTitle;
  std::string FHelpFilePath;
  bool FInProcess;
  TLaunchMode FLaunchMode;
  bool FRegistersSuspended = false;
  bool FRegistering = false;
};

// The one server module object: present between CreateModuleServer and DestroyModuleServer.
inline std::unique_ptr<TComServer> ModuleServer;

// For the library's start-up and shut-down.
void CreateModuleServer();
void DestroyModuleServer() noexcept;

// The file of the module that holds this code, in the system's ANSI code page as GetModuleFileNameA reports it.
std::string ModulePath();
// ModulePath without its folder and extension.
std::string ModuleBaseName();

// Type-library routines; nothing in a library that registers no type library reaches them.
ITypeLib* OpenTypeLibrary(const std::string& path);
void RegisterTypeLibrary(ITypeLib* library, const std::string& path);
std::string TypeLibraryName(ITypeLib* library);

}  // namespace ComServ
