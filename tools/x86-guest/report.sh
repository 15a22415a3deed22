#!/usr/bin/env bash
# Reports the steps of a guest test run from the results copied back to the host: one line per step (with
# GoogleTest's own summary, the whole output of a failed step, the output of the registration steps), then
# the closing count. Exits non-zero if any expected step failed or left no result.
# Usage: report.sh RESULTS-FOLDER STEP... (TARNCTX_REPORT_ARCH names the architecture; the ARM64 stage sets it)
set -uo pipefail
arch=${TARNCTX_REPORT_ARCH:-i686}
results=$1
shift
passed=0 failed=0
indent() { sed 's/^/    /'; }
for step in "$@"; do
  rc=$(cat "$results/$step.rc" 2>/dev/null || echo none)
  time=$(cat "$results/$step.time" 2>/dev/null || echo "?")
  log=$results/$step.log
  case $rc in
    0)
      passed=$((passed + 1))
      echo "$arch $step: passed ($time s)"
      if grep -q '^\[==========\]' "$log"; then
        grep -E '^\[(==========|  PASSED  |  SKIPPED )\]' "$log" | tail -n 3 | indent
      else
        sed "/^\s*$/d" "$log" | indent
      fi
      ;;
    none)
      failed=$((failed + 1))
      echo "$arch $step: FAILED, no result (the guest ended before it)"
      ;;
    *)
      failed=$((failed + 1))
      echo "$arch $step: FAILED, exit code $rc ($time s)$([ "$rc" = 124 ] && echo ", timed out")"
      tail -n 300 "$log" | indent
      ;;
  esac
done
echo "$arch: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
