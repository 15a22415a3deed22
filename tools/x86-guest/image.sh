#!/usr/bin/env bash
# The guest, built on first use and cached under the user's cache folder, keyed by what goes into it: these
# scripts, the package list, the Debian mirror and the kernel package. Prints the guest's folder (vmlinuz,
# initrd.img, disk.img with a ready 32-bit Wine prefix) on stdout, and what it did on stderr.
# The build needs root; a test run never changes the cached disk.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/tarnctx/x86-guest

debian_mirror() {
  apt-get indextargets --format '$(REPO_URI)' 'Codename: bookworm' 'Label: Debian' 'Identifier: Packages' \
    2>/dev/null | head -n 1 | grep . || echo http://deb.debian.org/debian/
}
kernel_package() { apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-/ { print $2; exit }'; }

mirror=$(debian_mirror)
kernel=$(kernel_package)
if [ -z "$kernel" ]; then
  apt-get update -q >&2
  kernel=$(kernel_package)
fi
key=$( (cd "$here" && cat image.sh rootfs.sh unmount-under.sh kernel.sh initrd-init guest-init prefix-job.sh \
  boot.sh guest-packages; echo "$mirror $kernel") | sha256sum | cut -c1-16)
guest=$cache/$key
mkdir -p "$cache"
exec 9>"$cache/lock"
flock 9  # one build at a time; a second caller waits and then finds the guest ready
if [ -e "$guest/ready" ]; then
  touch "$guest/ready"
  echo "x86 guest: cached in $guest" >&2
  echo "$guest"
  exit 0
fi
[ "$(id -u)" -eq 0 ] || { echo "x86 guest: building it needs root" >&2; exit 1; }
# Holding the lock, any build folder left is from a build that was killed outright.
for stale in "$cache"/build.*; do
  [ -d "$stale" ] && "$here/unmount-under.sh" "$stale" && rm -rf "$stale"
done

work=$(mktemp -d "$cache/build.XXXX")
# The folder is removed only once nothing is mounted under it any more.
trap '"$here/unmount-under.sh" "$work" && rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
timed() {
  local what=$1 start=$SECONDS
  shift
  "$@"
  echo "x86 guest: $what in $((SECONDS - start)) s" >&2
}

echo "x86 guest: building it in $guest (Debian bookworm from $mirror, $kernel)" >&2
timed "root file system" "$here/rootfs.sh" "$work/root" "$mirror" "$here/guest-packages" >&2
install -m 755 "$here/guest-init" "$work/root/sbin/tarnctx-init"
timed "kernel and initrd" "$here/kernel.sh" "$kernel" "$work" >&2

make_disk() {
  local size=$(($(du -sxm "$work/root" | cut -f1) + 1024))
  mkfs.ext4 -q -F -L tarnctx-x86 -d "$work/root" "$work/disk.img" "${size}M" >/dev/null
  rm -rf "$work/root"
}
timed "disk" make_disk

first_boot() {
  mkdir -p "$work/job"
  install -m 755 "$here/prefix-job.sh" "$work/job/job.sh"
  mkfs.ext4 -q -F -O ^has_journal -d "$work/job" "$work/job.img" 64M >/dev/null
  "$here/boot.sh" "$work" "$work/job.img" "$work/console.log" 900 >&2
  [ "$(debugfs -R 'cat /exit-code' "$work/job.img" 2>/dev/null)" = 0 ] ||
    { echo "x86 guest: creating the Wine prefix failed" >&2; return 1; }
  rm -rf "$work/job" "$work/job.img" "$work/console.log"
}
timed "Wine prefix (first boot)" first_boot

# Guests of other keys that no run used for a day only take room.
find "$cache" -mindepth 2 -maxdepth 2 -name ready -mtime +0 -printf '%h\n' | xargs -r rm -rf
touch "$work/ready"
mv "$work" "$guest"
echo "$guest"
