#!/usr/bin/env bash
# Sets up the machine, builds every architecture and runs every test of the 64-bit build under Wine,
# inside Xvfb so that message boxes and menus have a display; then the 32-bit stage: the i686 tests in an
# emulated machine with 32-bit Wine (tools/x86-guest/run.sh); then the ARM64 stage: the ARM64 tests under arm64 Wine
# in an emulated arm64 root (tools/arm64-stage/run.sh). Fails if any fails.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/native-tests.sh
tools/build.sh
status=0
xvfb-run -a -s "-screen 0 1024x768x24" \
  tools/wine-session build/x64/wineprefix -- ctest --test-dir build/x64 --output-on-failure -j2 "$@" || status=$?
tools/x86-guest/run.sh || status=$?
tools/arm64-stage/run.sh || status=$?
exit "$status"
