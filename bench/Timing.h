// Side-by-side timing: the library's call and its floor, alternated round by round and summed up as ratios.
#pragma once

#include <functional>
#include <string>

namespace Bench {

// Seconds on the performance counter.
double Now() noexcept;

template <class Work>
double Timed(Work&& work) {
  double start = Now();
  work();
  return Now() - start;
}

// Runs its operation the given number of times and answers the seconds spent on those calls alone, so that
// what the calls need prepared (fresh menus, say) can be made before the clock starts.
using TBlock = std::function<double(int repeats)>;

struct TPlan {
  int Rounds;            // pairs of blocks, ours and the floor's, in alternating order
  int MinRounds;         // measured even when the budget is spent
  double BlockSeconds;   // each side's block is sized to last about this long
  double BudgetSeconds;  // no new round starts after this
  int MaxRepeats;        // blocks that hold handles open stay below the platform's limits
};

struct TRatio {
  double Median = 0, Low = 0, High = 0;  // per-round ratios: median and quartiles
  double Min = 0, Max = 0;
  double OursPerCall = 0, FloorPerCall = 0;  // seconds, medians over the rounds
  int Rounds = 0;
  int OursRepeats = 0, FloorRepeats = 0;
  // Quartiles further apart than a fifth of the median, or too few rounds to tell.
  bool Noisy() const;
  std::string Spread() const;
};

// A call longer than the plan's whole budget is timed once, in its calibration, against one floor block.
TRatio Compare(const TPlan& plan, const TBlock& ours, const TBlock& floor);

// Two decimals; four below 0.1.
std::string RatioText(double ratio);

}  // namespace Bench
