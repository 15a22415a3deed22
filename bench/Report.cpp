// Formats the rows in fixed columns; the same text goes to the console and to the table file.
#include "Report.h"

#include <cmath>
#include <cstdio>

namespace Bench {

namespace {

std::string Line(const TRow& row) {
  char text[512];
  const char* verdict = row.Verdict == TRow::TVerdict::Meets  ? "meets"
                        : row.Verdict == TRow::TVerdict::Miss ? "MISS"
                                                              : "";
  std::snprintf(text, sizeof text, "%-52s %-11s %-13s %-6s %s", row.Name.c_str(), row.Figure.c_str(),
                row.Target.c_str(), verdict, row.Detail.c_str());
  return text;
}

std::string Header() { return Line({"row", "figure", "target", TRow::TVerdict::Untargeted, "detail"}); }

}  // namespace

void TReport::Add(TRow row) {
  if (FRows.empty()) std::printf("%s\n", Header().c_str());
  std::printf("%s\n", Line(row).c_str());
  std::fflush(stdout);
  FRows.push_back(std::move(row));
}

void TReport::AddRatio(const std::string& name, const TRatio& ratio, double target, const std::string& extra) {
  char goal[32] = "-", detail[320];
  std::string figure = RatioText(ratio.Median) + "x";
  if (target > 0) std::snprintf(goal, sizeof goal, "<= %.1fx", target);
  std::snprintf(detail, sizeof detail, "spread %s, ours %s, floor %s, %d rounds%s%s", ratio.Spread().c_str(),
                Duration(ratio.OursPerCall).c_str(), Duration(ratio.FloorPerCall).c_str(), ratio.Rounds, extra.c_str(),
                ratio.Noisy() ? ", NOISY" : "");
  auto verdict = target <= 0              ? TRow::TVerdict::Untargeted
                 : ratio.Median <= target ? TRow::TVerdict::Meets
                                          : TRow::TVerdict::Miss;
  Add({name, figure, goal, verdict, detail});
}

void TReport::Note(const std::string& text) { FNotes.push_back(text); }

std::string TReport::Text() const {
  std::string text = Header() + "\n";
  for (const TRow& row : FRows) text += Line(row) + "\n";
  if (!FNotes.empty()) text += "\n";
  for (const std::string& note : FNotes) text += note + "\n";
  return text;
}

int TReport::Misses() const {
  int misses = 0;
  for (const TRow& row : FRows) misses += row.Verdict == TRow::TVerdict::Miss ? 1 : 0;
  return misses;
}

std::string Duration(double seconds) {
  char text[32];
  if (seconds < 1e-6)
    std::snprintf(text, sizeof text, "%.0f ns", seconds * 1e9);
  else if (seconds < 1e-3)
    std::snprintf(text, sizeof text, "%.1f us", seconds * 1e6);
  else if (seconds < 1)
    std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
  else
    std::snprintf(text, sizeof text, "%.2f s", seconds);
  return text;
}

std::string Grouped(long long value) {
  std::string digits = std::to_string(std::llabs(value));
  for (auto i = static_cast<long long>(digits.size()) - 3; i > 0; i -= 3)
    digits.insert(static_cast<std::size_t>(i), ",");
  return value < 0 ? "-" + digits : digits;
}

}  // namespace Bench
