#!/usr/bin/env bash
# Configures and builds both architectures from the same source: build/x86 (32-bit) and build/x64 (64-bit).
set -euo pipefail
cd "$(dirname "$0")/.."
for arch in x86:i686 x64:x86_64; do
  dir=build/${arch%%:*}
  [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-${arch#*:}.cmake" >/dev/null
  cmake --build "$dir"
done
# The Windows Installer packages of both architectures, in build/installer: only those of this version.
rm -f build/installer/tarnctx-*.msi
for arch in x64 x86; do
  tools/make-installer.sh "$arch" build/installer >/dev/null
done
