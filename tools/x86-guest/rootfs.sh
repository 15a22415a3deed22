#!/usr/bin/env bash
# Builds the guest's root file system from Debian packages: a minimal amd64 bookworm with 32-bit Wine.
# Usage: rootfs.sh ROOT MIRROR PACKAGE-LIST. Needs root. Only amd64 code runs on the host: the i386
# packages are only unpacked. Whatever it mounts under ROOT is unmounted on every way out.
set -euo pipefail
root=$1 mirror=$2 list=$3
here=$(cd "$(dirname "$0")" && pwd)
log=$root.log

# The installers' output goes to a log, shown (on the caller's standard error) only when something failed.
exec 3>&2
cleanup() {
  local status=$?
  [ "$status" -eq 0 ] || tail -n 40 "$log" >&3
  rm -f "$log"
  "$here/unmount-under.sh" "$root"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

exec >"$log" 2>&1
debootstrap --variant=minbase --arch=amd64 bookworm "$root" "$mirror"

for fs in proc sys dev dev/pts; do mount --bind "/$fs" "$root/$fs"; done
# No service starts inside the chroot.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"

in_root() { chroot "$root" env DEBIAN_FRONTEND=noninteractive LC_ALL=C "$@"; }
in_root dpkg --add-architecture i386
in_root apt-get update -q
mapfile -t packages <"$list"
in_root apt-get install -y -q --no-install-recommends "${packages[@]}"
in_root apt-get clean
rm -f "$root/usr/sbin/policy-rc.d"
rm -rf "$root"/var/lib/apt/lists/*
