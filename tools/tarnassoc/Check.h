// tarnassoc check: each condition Explorer needs to show the Tarnwick menus, read from this machine, with what to
// do about each one that does not hold.
#pragma once

#include <string>
#include <vector>

namespace Assoc {

// ok: known to hold; fail: known not to; unknown: the platform cannot tell; info: not needed here, or not tried
// because a condition before it fails (that one is the cause).
enum class TVerdict { vdOk, vdFail, vdUnknown, vdInfo };

struct TCondition {
  TVerdict Verdict;
  std::string Name;     // short and fixed, e.g. "association"
  std::string Detail;   // what was found
  std::string Remedy;   // what to do, for fail and unknown
};

// Every condition for every user (false) or for the current user's own install (true), in the order Explorer
// meets them.
std::vector<TCondition> CheckConditions(bool perUser);

// Prints one line per condition (and a remedy line under each that does not hold) and a summary; 0 when every
// counted condition holds, 1 otherwise.
int ReportConditions(const std::vector<TCondition>& conditions, bool perUser);

}  // namespace Assoc
