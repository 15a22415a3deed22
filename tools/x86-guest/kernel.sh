#!/usr/bin/env bash
# Debian's own kernel for the guest, unpacked on the host, and a small busybox initrd that loads the disk and
# file-system modules, mounts /dev/vda and hands over to the root's own init.
# Usage: kernel.sh KERNEL-PACKAGE OUT  (writes OUT/vmlinuz and OUT/initrd.img)
set -euo pipefail
package=$1 out=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "$out/kernel.XXXX")
trap 'rm -rf "$work"' EXIT

(cd "$work" && apt-get download -qq "$package") 2>&1 | { grep -v '^W: Download is performed unsandboxed' || true; }
dpkg-deb -x "$work"/"$package"_*.deb "$work/pkg"
version=$(ls "$work/pkg/lib/modules")
depmod -b "$work/pkg" "$version"
cp "$work/pkg/boot/vmlinuz-$version" "$out/vmlinuz"

initrd=$work/initrd
mkdir -p "$initrd/bin" "$initrd/modules" "$initrd/dev" "$initrd/proc" "$initrd/sys" "$initrd/root"
cp /bin/busybox "$initrd/bin/busybox"
cp "$here/initrd-init" "$initrd/init"
chmod +x "$initrd/init"
# ext4 needs crc32c_generic though modules.dep does not say so.
for module in virtio_pci virtio_blk ext4 crc32c_generic; do
  modprobe -d "$work/pkg" -S "$version" --show-depends "$module" | awk '$1 == "insmod" { print $2 }'
done | awk '!seen[$0]++' | while read -r file; do
  cp "$file" "$initrd/modules/"
  basename "$file" >>"$initrd/modules/order"
done
(cd "$initrd" && find . | cpio -o -H newc --quiet | gzip -1) >"$out/initrd.img"
