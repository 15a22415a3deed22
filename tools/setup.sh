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
  # The package for Windows 11's menu: drawn and packed by Python scripts, signed, its manifest validated.
  python3 openssl libxml2-utils osslsigncode
  # The release folder's winget manifests, checked against the published schemas.
  python3-yaml python3-jsonschema
  # The Windows Installer packages: built with wixl, edited and read back with msibuild and msiinfo.
  msitools wixl
  # The ARM64 stage: an arm64 Debian root with Wine, run through user-mode emulation (tools/arm64-stage).
  mmdebstrap arch-test qemu-user-static
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
# Another install on the machine may hold dpkg's lock for a while: wait for it rather than fail.
wait_lock=(-o DPkg::Lock::Timeout=900)
if [ ${#missing[@]} -gt 0 ]; then
  "${as_root[@]}" apt-get "${wait_lock[@]}" update -q
  "${as_root[@]}" apt-get "${wait_lock[@]}" install -y -q --no-install-recommends "${missing[@]}"
fi

# Only osslsigncode 2.6 or later signs packages. Debian 12's own is 2.5; bookworm-backports has a newer one,
# taken when the machine's sources offer it.
signer_minimum=2.6
at_least() { [ "$(printf '%s\n%s\n' "$1" "$2" | sort -V | head -n1)" = "$2" ]; }
signer=$(osslsigncode --version 2>/dev/null | sed -n 's/^osslsigncode \([0-9.]*\).*/\1/p')
if ! at_least "${signer:-0}" "$signer_minimum"; then
  newest=$(apt-cache madison osslsigncode | awk '{print $3}' | sort -V | tail -n1)
  if [ -n "$newest" ] && at_least "${newest%%-*}" "$signer_minimum"; then
    "${as_root[@]}" apt-get "${wait_lock[@]}" install -y -q --no-install-recommends "osslsigncode=$newest"
  else
    echo "setup: signing the package needs osslsigncode $signer_minimum or later; this machine has" \
         "${signer:-none} and its package sources offer ${newest:-none}. On Debian 12, add bookworm-backports" \
         "to the sources and run: apt-get install -t bookworm-backports osslsigncode" >&2
    exit 1
  fi
fi
