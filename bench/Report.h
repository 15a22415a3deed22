// The benchmark's table: one row per figure with its target beside it, and notes that explain the figures.
#pragma once

#include "Timing.h"

#include <string>
#include <vector>

namespace Bench {

struct TRow {
  std::string Name;
  std::string Figure;  // the ratio, or the measured amount
  std::string Target;
  enum class TVerdict { Meets, Miss, Untargeted } Verdict = TVerdict::Untargeted;
  std::string Detail;  // spread, times per call, rounds, noise
};

class TReport {
public:
  // Prints the row at once, so that a long run shows its progress.
  void Add(TRow row);
  // A ratio row: the median ratio against "at most" the target; without a target the row only informs.
  void AddRatio(const std::string& name, const TRatio& ratio, double target = 0, const std::string& extra = "");
  void Note(const std::string& text);
  // The whole table and its notes, as printed.
  std::string Text() const;
  int Misses() const;

private:
  std::vector<TRow> FRows;
  std::vector<std::string> FNotes;
};

// "45 ns", "12.3 us", "4.56 ms", "1.23 s".
std::string Duration(double seconds);
// "123,456".
std::string Grouped(long long value);

}  // namespace Bench
