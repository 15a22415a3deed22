#!/usr/bin/env bash
# Configures and builds every architecture from the same source: build/x86 (32-bit), build/x64 (64-bit) and
# build/arm64 (ARM64).
set -euo pipefail
cd "$(dirname "$0")/.."
for arch in x86:i686 x64:x86_64; do
  dir=build/${arch%%:*}
  [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-${arch#*:}.cmake" >/dev/null
  cmake --build "$dir"
done
# The ARM64 build, with the pinned zig (installed and checked by tools/zig/install.sh) instead of MinGW-w64's GCC.
tools/zig/install.sh
[ -f build/arm64/build.ninja ] || cmake -S . -B build/arm64 -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-aarch64.cmake" >/dev/null
cmake --build build/arm64
# The Windows Installer packages of every architecture, in build/installer: only those of this version.
rm -f build/installer/tarnctx-*.msi
for arch in x64 arm64 x86; do
  tools/make-installer.sh "$arch" build/installer >/dev/null
done
