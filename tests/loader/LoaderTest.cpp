// The load and unload sequence driven with module tables whose routines record their calls.
#include "com/ModuleInstance.h"
#include "com/ModuleLoader.h"
#include "com/RunError.h"
#include "support/Platform.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using ComObj::TModuleEntry;
using ComObj::TModuleLoader;

constexpr int ModuleCount = 24;

std::vector<std::string> Calls;
int FailingInitialization = 0;  // position, from 1, whose initialization throws; 0 for none
std::set<int> FailingFinalizations;

template <int Position>
void Initialize() {
  Calls.push_back("init " + std::to_string(Position));
  if (Position == FailingInitialization) throw std::runtime_error("initialization failed");
}

template <int Position>
void Finalize() {
  Calls.push_back("final " + std::to_string(Position));
  if (FailingFinalizations.contains(Position)) throw 42;  // not even a std::exception
}

// Like the library's table, some modules lack one routine or both.
constexpr bool HasInitialization(int position) { return position % 6 != 0; }
constexpr bool HasFinalization(int position) { return position % 8 != 0; }

template <std::size_t... Index>
constexpr auto MakeModules(std::index_sequence<Index...>) {
  return std::array<TModuleEntry, sizeof...(Index)>{
      TModuleEntry{"module", HasInitialization(Index + 1) ? &Initialize<Index + 1> : nullptr,
                   HasFinalization(Index + 1) ? &Finalize<Index + 1> : nullptr}...};
}

constexpr auto Modules = MakeModules(std::make_index_sequence<ModuleCount>());

// Built at compile time, as the library's own loader is.
constinit TModuleLoader StaticLoader(Modules);

std::vector<std::string> Initializations(int first, int last) {
  std::vector<std::string> calls;
  for (int position = first; position <= last; ++position)
    if (HasInitialization(position)) calls.push_back("init " + std::to_string(position));
  return calls;
}

std::vector<std::string> FinalizationsDownFrom(int last) {
  std::vector<std::string> calls;
  for (int position = last; position >= 1; --position)
    if (HasFinalization(position)) calls.push_back("final " + std::to_string(position));
  return calls;
}

std::vector<std::string> operator+(std::vector<std::string> first, const std::vector<std::string>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

std::string Hex8(std::uintptr_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
  return text;
}

HINSTANCE ThisProgram() { return ::GetModuleHandleA(nullptr); }

class ModuleLoader : public ::testing::Test {
protected:
  void SetUp() override {
    ComObj::ModuleIsLibrary = false;
    Calls.clear();
    FailingInitialization = 0;
    FailingFinalizations.clear();
  }

  BOOL Call(TModuleLoader& loader, DWORD reason) { return loader.EntryPoint(ThisProgram(), reason, nullptr); }

  Testing::TMessageBoxWatcher FBoxes;
};

TEST_F(ModuleLoader, AttachInitializesAllInOrderAndDetachFinalizesAllInReverse) {
  TModuleLoader loader(Modules);
  EXPECT_TRUE(Call(loader, DLL_PROCESS_ATTACH));
  EXPECT_EQ(Calls, Initializations(1, ModuleCount));
  EXPECT_EQ(loader.InitializedCount(), 0u);
  EXPECT_EQ(ComObj::ModuleInstance(), ThisProgram());
  EXPECT_TRUE(ComObj::ModuleIsLibrary);

  Calls.clear();
  EXPECT_TRUE(Call(loader, DLL_PROCESS_DETACH));
  EXPECT_EQ(Calls, FinalizationsDownFrom(ModuleCount));
  EXPECT_EQ(loader.InitializedCount(), 0u);
  EXPECT_TRUE(FBoxes.Boxes().empty());
}

TEST_F(ModuleLoader, ThreadAttachAndDetachTouchNoModule) {
  ASSERT_TRUE(Call(StaticLoader, DLL_PROCESS_ATTACH));
  Calls.clear();
  EXPECT_TRUE(Call(StaticLoader, DLL_THREAD_ATTACH));
  EXPECT_TRUE(Call(StaticLoader, DLL_THREAD_DETACH));
  EXPECT_TRUE(Calls.empty());

  // The modules are still up: a process detach finalizes every one of them.
  EXPECT_TRUE(Call(StaticLoader, DLL_PROCESS_DETACH));
  EXPECT_EQ(Calls, FinalizationsDownFrom(ModuleCount));
  EXPECT_TRUE(FBoxes.Boxes().empty());
}

TEST_F(ModuleLoader, FailingFinalizationDoesNotStopTheOthers) {
  TModuleLoader loader(Modules);
  ASSERT_TRUE(Call(loader, DLL_PROCESS_ATTACH));
  FailingFinalizations = {ModuleCount - 1, 10, 1};
  Calls.clear();
  EXPECT_TRUE(Call(loader, DLL_PROCESS_DETACH));
  EXPECT_EQ(Calls, FinalizationsDownFrom(ModuleCount));
  EXPECT_TRUE(FBoxes.Boxes().empty());
}

// A start-up that fails at the given position.
class FailedStartUp : public ModuleLoader, public ::testing::WithParamInterface<int> {};

TEST_P(FailedStartUp, FinalizesTheCountedModulesInReverseReportsError217AndRefuses) {
  const int failing = GetParam();
  FailingInitialization = failing;
  TModuleLoader loader(Modules);
  EXPECT_FALSE(Call(loader, DLL_PROCESS_ATTACH));
  EXPECT_EQ(Calls, Initializations(1, failing) + FinalizationsDownFrom(failing));
  EXPECT_EQ(loader.InitializedCount(), 0u);

  // The failing routine's own address stands in for the exception's, counted from this program's base.
  std::uintptr_t routine = reinterpret_cast<std::uintptr_t>(Modules[failing - 1].Initialization);
  std::uintptr_t offset = routine - reinterpret_cast<std::uintptr_t>(ThisProgram());
  ASSERT_EQ(FBoxes.Boxes().size(), 1u);
  EXPECT_EQ(FBoxes.Boxes()[0].Caption, "Error");
  EXPECT_EQ(FBoxes.Boxes()[0].Text, "Runtime error 217 at " + Hex8(offset));
  EXPECT_EQ(FBoxes.Boxes()[0].Owner, nullptr);
}

INSTANTIATE_TEST_SUITE_P(AtPosition, FailedStartUp, ::testing::Values(1, 7, ModuleCount - 1));

TEST_F(ModuleLoader, FailedStartUpStillRunsTheOtherFinalizationsWhenOneThrows) {
  FailingInitialization = ModuleCount - 1;
  FailingFinalizations = {20};
  TModuleLoader loader(Modules);
  EXPECT_FALSE(Call(loader, DLL_PROCESS_ATTACH));
  EXPECT_EQ(Calls, Initializations(1, ModuleCount - 1) + FinalizationsDownFrom(ModuleCount - 1));
  EXPECT_EQ(FBoxes.Boxes().size(), 1u);
}

TEST_F(ModuleLoader, FailureIsForgottenOnceReported) {
  FailingInitialization = 3;
  TModuleLoader loader(Modules);
  ASSERT_FALSE(Call(loader, DLL_PROCESS_ATTACH));

  // The same loader later starts up cleanly: no second box, and the answer is TRUE again.
  FailingInitialization = 0;
  Calls.clear();
  EXPECT_TRUE(Call(loader, DLL_PROCESS_ATTACH));
  EXPECT_EQ(Calls, Initializations(1, ModuleCount));
  EXPECT_EQ(FBoxes.Boxes().size(), 1u);
}

TEST(RunErrorText, RightAlignsTheNumberBeforeAtAndShowsTheOffsetInEightHexDigits) {
  EXPECT_EQ(ComObj::RunErrorText(217, 0x1234), "Runtime error 217 at 00001234");
  EXPECT_EQ(ComObj::RunErrorText(5, 0x1234), "Runtime error   5 at 00001234");
  EXPECT_EQ(ComObj::RunErrorText(0, 0xABCDEF0), "Runtime error   0 at 0ABCDEF0");
  EXPECT_EQ(ComObj::RunErrorText(42, 0xFFFFFFFF), "Runtime error  42 at FFFFFFFF");
}

TEST(ModuleOffset, CountsFromTheBaseOfTheModuleThatHoldsTheAddress) {
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  auto function = reinterpret_cast<std::uintptr_t>(::GetProcAddress(kernel, "GetTickCount"));
  EXPECT_EQ(ComObj::ModuleOffset(function), function - reinterpret_cast<std::uintptr_t>(kernel));

  auto ours = reinterpret_cast<std::uintptr_t>(&Initialize<1>);
  EXPECT_EQ(ComObj::ModuleOffset(ours), ours - reinterpret_cast<std::uintptr_t>(ThisProgram()));

  // Outside every module the address is shown as it is.
  std::vector<char> heapBlock(64);
  auto heap = reinterpret_cast<std::uintptr_t>(heapBlock.data());
  EXPECT_EQ(ComObj::ModuleOffset(heap), heap);
}

}  // namespace
