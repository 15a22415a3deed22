// Runs the module table's initializations and finalizations and reports a failed start-up.
#include "ModuleLoader.h"

#include "ModuleInstance.h"
#include "RunError.h"

namespace ComObj {

BOOL TModuleLoader::EntryPoint(HINSTANCE instance, DWORD reason, LPVOID) noexcept {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      ModuleIsLibrary = true;
      SetModuleInstance(instance);
      FInitializedCount = 0;
      InitializeAll();
      break;
    case DLL_PROCESS_DETACH: FInitializedCount = FModules.size(); break;
    default:  // thread attach and detach: the count is 0 after a successful start-up, so Halt touches nothing
      break;
  }
  return Halt(reason);
}

void TModuleLoader::InitializeAll() noexcept {
  for (const TModuleEntry& module : FModules) {
    ++FInitializedCount;  // counted before the call, so a failing module is finalized too
    if (!module.Initialization) continue;
    try {
      module.Initialization();
    } catch (...) {
      FinalizeAll();
      // A C++ exception carries no address: the failing initialization routine's own address stands in for it.
      FExitCode = InitializationError;
      FFailureAddress = reinterpret_cast<std::uintptr_t>(module.Initialization);
      return;
    }
  }
}

void TModuleLoader::FinalizeAll() noexcept {
  while (FInitializedCount > 0) {
    const TModuleEntry& module = FModules[--FInitializedCount];
    if (!module.Finalization) continue;
    try {
      module.Finalization();
    } catch (...) {
      // One failing finalization must not keep the other modules from releasing what they hold.
    }
  }
}

BOOL TModuleLoader::Halt(DWORD reason) noexcept {
  if (FFailureAddress != 0) {
    ShowRunError(FExitCode, FFailureAddress);
    FFailureAddress = 0;
  }
  if (reason == DLL_PROCESS_ATTACH && FExitCode == 0) FInitializedCount = 0;  // modules stay up until detach
  FinalizeAll();
  BOOL succeeded = FExitCode == 0 ? TRUE : FALSE;
  FExitCode = 0;
  return succeeded;
}

}  // namespace ComObj
