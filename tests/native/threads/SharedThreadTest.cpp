// The module-wide shared value under ThreadSanitizer: a selection is replaced, read, updated and spent by many
// threads at once, and each reader sees one whole value.
#include "shell/Shared.h"

#include "RunTogether.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <set>
#include <thread>
#include <vector>

using namespace ContextM;

namespace {

constexpr int Threads = 12;
constexpr int Rounds = 20000;

// A selection's stand-in: every element holds its tag, so a mix of two values is visible.
using TValue = std::shared_ptr<const std::vector<int>>;

TValue Tagged(int tag) { return std::make_shared<const std::vector<int>>(32, tag); }

bool Whole(const TValue& value) {
  if (!value) return true;
  return value->size() == 32 && std::all_of(value->begin(), value->end(), [&](int v) { return v == value->front(); });
}

template <class Work>
void RunThreads(Work work) {
  NativeTesting::RunTogether(Threads, work);
}

}  // namespace

TEST(SharedThreadTest, ReadersSeeWholeValuesWhileOthersSetAndSpendThem) {
  TShared<TValue> shared;
  std::atomic<int> torn{0};
  RunThreads([&](int t) {
    for (int round = 0; round < Rounds; ++round) {
      switch ((t + round) % 3) {
        case 0: shared.Set(Tagged(t * Rounds + round)); break;
        case 1:
          if (!Whole(shared.Get())) ++torn;
          break;
        default:
          if (!Whole(shared.Exchange(nullptr))) ++torn;
      }
    }
  });
  EXPECT_EQ(torn, 0);
}

TEST(SharedThreadTest, UpdatesAreNeverLost) {
  TShared<TValue> shared;
  shared.Set(Tagged(0));
  RunThreads([&](int) {
    for (int round = 0; round < Rounds; ++round)
      shared.Update([](TValue& value) {
        auto next = std::make_shared<std::vector<int>>(*value);
        for (int& v : *next) ++v;
        value = std::move(next);
      });
  });
  TValue last = shared.Get();
  ASSERT_TRUE(Whole(last));
  EXPECT_EQ(last->front(), Threads * Rounds);
}

// Every thread swaps its own token for the one in the slot: at the end each token is held exactly once.
TEST(SharedThreadTest, ExchangeHandsEachValueToExactlyOneThread) {
  TShared<std::shared_ptr<const int>> slot;
  slot.Set(std::make_shared<const int>(-1));
  std::vector<std::shared_ptr<const int>> held(Threads);
  RunThreads([&](int t) {
    std::shared_ptr<const int> mine = std::make_shared<const int>(t);
    for (int round = 0; round < Rounds; ++round) mine = slot.Exchange(std::move(mine));
    held[t] = std::move(mine);
  });
  held.push_back(slot.Get());
  std::multiset<int> tokens;
  for (const auto& token : held) {
    ASSERT_TRUE(token);
    tokens.insert(*token);
  }
  std::multiset<int> expected{-1};
  for (int t = 0; t < Threads; ++t) expected.insert(t);
  EXPECT_EQ(tokens, expected);
}

// A selection taken by one thread's command is gone for every other: no value is spent twice.
TEST(SharedThreadTest, SpendingTakesEachSetValueOnce) {
  TShared<std::shared_ptr<const int>> slot;
  std::vector<std::vector<int>> spent(Threads);
  RunThreads([&](int t) {
    for (int round = 0; round < Rounds; ++round) {
      if (t % 2 == 0) {
        slot.Set(std::make_shared<const int>(t * Rounds + round));
      } else if (auto value = slot.Exchange(nullptr)) {
        spent[t].push_back(*value);
      }
    }
  });
  std::set<int> once;
  std::size_t count = 0;
  for (const auto& values : spent) {
    once.insert(values.begin(), values.end());
    count += values.size();
  }
  EXPECT_EQ(once.size(), count);
  EXPECT_GT(count, 0u);
}
