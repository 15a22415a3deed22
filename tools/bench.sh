#!/usr/bin/env bash
# Builds both architectures and runs the benchmark on the 64-bit build under Wine, inside Xvfb and one Wine
# session. Prints the table and writes it to build/x64/bench.txt; --quick runs the small version that CI runs
# (build/x64/bench-quick.txt). A missed target is a finding, not a failure: the exit status says only whether
# every row could be measured.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh >/dev/null
prefix=build/x64/wineprefix
xvfb-run -a -s "-screen 0 1024x768x24" tools/wine-session "$prefix" -- \
  timeout 3600 tools/wine-run "$prefix" build/x64/bench/tarnctx_bench.exe "$@"
