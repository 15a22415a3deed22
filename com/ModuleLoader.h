// The library's load and unload sequence: a fixed table of modules, initialized in order and finalized in reverse.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <span>

namespace ComObj {

using TModuleRoutine = void (*)();

// One module of the library; either routine may be absent (nullptr).
struct TModuleEntry {
  const char* Name;
  TModuleRoutine Initialization;
  TModuleRoutine Finalization;
};

// Drives the module table from the library's entry point. Meant to be a constinit global, so that it exists
// before the system loader first calls the entry point:
//   constexpr ComObj::TModuleEntry Modules[] = {{"System", nullptr, nullptr}, ...};
//   constinit ComObj::TModuleLoader Loader(Modules);
//   BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
//     return Loader.EntryPoint(instance, reason, reserved);
//   }
class TModuleLoader {
public:
  // The run-time error of an initialization that raised an exception.
  static constexpr std::uint32_t InitializationError = 217;

  constexpr explicit TModuleLoader(std::span<const TModuleEntry> modules) noexcept : FModules(modules) {}
  TModuleLoader(const TModuleLoader&) = delete;
  TModuleLoader& operator=(const TModuleLoader&) = delete;

  // Process attach marks the module as a library, keeps its handle (ModuleInstance) and runs the initializations;
  // process detach runs the finalizations; thread attach and detach change nothing. Answers FALSE only for a
  // failed start-up. No exception leaves it.
  BOOL EntryPoint(HINSTANCE instance, DWORD reason, LPVOID reserved) noexcept;

  // How many entries, counted from the first, the next finalization run will finalize.
  std::size_t InitializedCount() const noexcept { return FInitializedCount; }

private:
  void InitializeAll() noexcept;
  void FinalizeAll() noexcept;
  BOOL Halt(DWORD reason) noexcept;

  std::span<const TModuleEntry> FModules;
  std::size_t FInitializedCount = 0;
  std::uint32_t FExitCode = 0;
  std::uintptr_t FFailureAddress = 0;  // 0: no failure recorded
};

}  // namespace ComObj
