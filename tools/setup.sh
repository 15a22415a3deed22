#!/usr/bin/env bash
# Installs what the build and the Wine test harness need on a Debian machine. Idempotent: quick when all is there.
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
  wine64 googletest xvfb xauth
  clang libclang-rt-14-dev llvm
  # The 32-bit stage: an emulated machine built from Debian packages (tools/x86-guest).
  qemu-system-x86 debootstrap e2fsprogs cpio kmod busybox-static
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
# Another install on the machine may hold dpkg's lock for a while: wait for it rather than fail.
wait_lock=(-o DPkg::Lock::Timeout=900)
"${as_root[@]}" apt-get "${wait_lock[@]}" update -q
"${as_root[@]}" apt-get "${wait_lock[@]}" install -y -q --no-install-recommends "${missing[@]}"
