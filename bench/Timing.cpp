// Calibrates each side's block once, then alternates the blocks and keeps one ratio per round.
#include "Timing.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace Bench {

namespace {

double Frequency() {
  static const double frequency = [] {
    LARGE_INTEGER value;
    ::QueryPerformanceFrequency(&value);
    return static_cast<double>(value.QuadPart);
  }();
  return frequency;
}

// Linear interpolation between the sorted values, q from 0 to 1.
double Quantile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  double position = q * static_cast<double>(values.size() - 1);
  auto below = static_cast<std::size_t>(std::floor(position));
  std::size_t above = std::min(below + 1, values.size() - 1);
  return values[below] + (values[above] - values[below]) * (position - static_cast<double>(below));
}

struct TCalibration {
  int Repeats;
  double Single;  // seconds of one call
};

// One call first (it also warms caches and loads pages); calls too short to time alone are timed a hundred at once.
TCalibration Calibrate(const TPlan& plan, const TBlock& block) {
  double single = block(1);
  if (single < plan.BlockSeconds / 100) single = block(100) / 100;
  double wanted = std::ceil(plan.BlockSeconds / std::max(single, 1e-9));
  return {static_cast<int>(std::clamp(wanted, 1.0, static_cast<double>(plan.MaxRepeats))), single};
}

}  // namespace

std::string RatioText(double ratio) {
  char text[32];
  std::snprintf(text, sizeof text, ratio < 0.1 ? "%.4f" : "%.2f", ratio);
  return text;
}

double Now() noexcept {
  LARGE_INTEGER value;
  ::QueryPerformanceCounter(&value);
  return static_cast<double>(value.QuadPart) / Frequency();
}

bool TRatio::Noisy() const { return Rounds < 5 || (High - Low) > 0.2 * Median; }

std::string TRatio::Spread() const { return RatioText(Low) + "-" + RatioText(High); }

TRatio Compare(const TPlan& plan, const TBlock& ours, const TBlock& floor) {
  TRatio result;
  double start = Now();  // the budget counts the calibration too
  TCalibration oursCalibration = Calibrate(plan, ours);
  TCalibration floorCalibration = Calibrate(plan, floor);
  result.OursRepeats = oursCalibration.Repeats;
  result.FloorRepeats = floorCalibration.Repeats;
  std::vector<double> ratios, oursTimes, floorTimes;
  auto record = [&](double o, double f) {
    oursTimes.push_back(o);
    floorTimes.push_back(f);
    ratios.push_back(o / f);
  };
  if (oursCalibration.Single > plan.BudgetSeconds) {
    // One call outlasts the whole budget: its calibration run is the one round, against a floor block after it.
    record(oursCalibration.Single, floor(result.FloorRepeats) / result.FloorRepeats);
  }
  for (int round = static_cast<int>(ratios.size()); round < plan.Rounds; ++round) {
    if (round >= plan.MinRounds && Now() - start > plan.BudgetSeconds) break;
    // Which side goes first alternates, so that whatever the first block leaves behind falls on both alike.
    if (round % 2 == 0) {
      double o = ours(result.OursRepeats) / result.OursRepeats;
      record(o, floor(result.FloorRepeats) / result.FloorRepeats);
    } else {
      double f = floor(result.FloorRepeats) / result.FloorRepeats;
      record(ours(result.OursRepeats) / result.OursRepeats, f);
    }
  }
  result.Rounds = static_cast<int>(ratios.size());
  result.Median = Quantile(ratios, 0.5);
  result.Low = Quantile(ratios, 0.25);
  result.High = Quantile(ratios, 0.75);
  result.Min = Quantile(ratios, 0);
  result.Max = Quantile(ratios, 1);
  result.OursPerCall = Quantile(oursTimes, 0.5);
  result.FloorPerCall = Quantile(floorTimes, 0.5);
  return result;
}

}  // namespace Bench
