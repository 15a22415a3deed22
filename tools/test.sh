#!/usr/bin/env bash
# Sets up the machine, builds both architectures and runs every test of the 64-bit build under Wine,
# inside Xvfb so that message boxes and menus have a display.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/native-tests.sh
tools/build.sh
xvfb-run -a -s "-screen 0 1024x768x24" \
  tools/wine-session build/x64/wineprefix -- ctest --test-dir build/x64 --output-on-failure -j2 "$@"
