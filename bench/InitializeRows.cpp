// Initialize through the library's COM object for lists of growing length, against one pass over the same block.
#include "DropData.h"
#include "Floors.h"
#include "Rows.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace Bench {

namespace {

// Long lists get fewer rounds: a call on 100,000 names takes a tenth of a second or more, and the row stays
// within a few minutes.
TPlan PlanFor(std::size_t names, const TConfig& config) {
  if (config.Quick || names < 10000) return config.Fast;
  if (names < 100000) return {9, 3, config.Fast.BlockSeconds, 60, config.Fast.MaxRepeats};
  return {3, 1, config.Fast.BlockSeconds, 60, config.Fast.MaxRepeats};
}

}  // namespace

void MeasureInitialize(TReport& report, const TConfig& config, const Win32::TComRef<IShellExtInit>& handler) {
  std::vector<std::pair<std::size_t, TRatio>> ratios;
  for (std::size_t names : config.Names) {
    TDropData data(SampleNames(names));
    if (handler->Initialize(nullptr, &data, nullptr) != S_OK) throw std::runtime_error("Initialize failed");
    TBlock ours = [&](int repeats) {
      return Timed([&] {
        for (int i = 0; i < repeats; ++i) handler->Initialize(nullptr, &data, nullptr);
      });
    };
    TBlock floor = [&](int repeats) {
      return Timed([&] {
        for (int i = 0; i < repeats; ++i) ReadOnce(&data);
      });
    };
    TRatio ratio = Compare(PlanFor(names, config), ours, floor);
    char perName[96];
    std::snprintf(perName, sizeof perName, ", per name %.0f ns ours, %.0f ns floor",
                  ratio.OursPerCall / static_cast<double>(names) * 1e9,
                  ratio.FloorPerCall / static_cast<double>(names) * 1e9);
    report.AddRatio("Initialize, " + Grouped(static_cast<long long>(names)) + " names", ratio, 1.2, perName);
    ratios.emplace_back(names, ratio);
  }

  // Linear when the ratio against the one-pass floor stays flat from the second length on.
  const auto& [baseNames, base] = ratios[1];
  double worst = 0;
  std::string steps;
  for (std::size_t i = 2; i < ratios.size(); ++i) {
    double growth = ratios[i].second.Median / base.Median;
    worst = std::max(worst, growth);
    char step[64];
    std::snprintf(step, sizeof step, "%s%s names %.2fx", steps.empty() ? "" : ", ",
                  Grouped(static_cast<long long>(ratios[i].first)).c_str(), growth);
    steps += step;
  }
  char figure[32];
  std::snprintf(figure, sizeof figure, "%.2fx", worst);
  report.Add({"Initialize, ratio growth from " + Grouped(static_cast<long long>(baseNames)) + " names", figure,
              "<= 1.3x", worst <= 1.3 ? TRow::TVerdict::Meets : TRow::TVerdict::Miss, steps});
  report.Note(
      "Initialize floor: one GetData, the DROPFILES block read once from its start within GlobalSize, one "
      "WideCharToMultiByte per name (no best fit), the medium released. The data object hands out the "
      "same block each time, so its making is not timed. The floor converts into one small buffer and keeps "
      "nothing; the handler must also keep the names (written into the selection's buffer, reused from a "
      "replaced selection nobody holds), refuse names with a quote, and install the selection under the "
      "module's lock.");
}

}  // namespace Bench
