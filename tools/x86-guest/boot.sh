#!/usr/bin/env bash
# Boots the guest on emulated x86-64 (TCG: no KVM needed) with a job disk, bounded in time. The serial
# console is shown live and kept in a log. A guest still running at the bound is killed, and the console's
# last lines are shown.
# Usage: boot.sh [--snapshot] GUEST-FOLDER JOB-DISK CONSOLE-LOG SECONDS
# --snapshot leaves the guest's disk as it was: writes go to a temporary overlay.
set -euo pipefail
snapshot=off
[ "$1" = --snapshot ] && { snapshot=on; shift; }
guest=$1 job=$2 log=$3 seconds=$4

# SMAP off: with it on, every 32-bit Wine process dies in the guest kernel on Wine's return path.
status=0
# In the caller's process group, so that an interrupt or an outer bound ends the guest too.
timeout --foreground -k 10 "$seconds" qemu-system-x86_64 \
  -accel tcg,thread=multi -cpu max,-smap -smp 2 -m 4096 \
  -kernel "$guest/vmlinuz" -initrd "$guest/initrd.img" \
  -append "console=ttyS0 root=/dev/vda rw init=/sbin/tarnctx-init panic=1 quiet" \
  -drive "file=$guest/disk.img,format=raw,if=virtio,cache=unsafe,snapshot=$snapshot" \
  -drive "file=$job,format=raw,if=virtio,cache=unsafe" \
  -nographic -no-reboot -net none -monitor none -serial stdio </dev/null 2>&1 |
  sed -u -e 's/\r$//' -e 's/\x1bc//g' -e 's/\x1b\[[0-9;?]*[A-Za-z]//g' | tee "$log" | sed -u 's/^/  guest| /' || status=$?
if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
  echo "x86 guest: still running after $seconds s: killed. The console's last lines:"
  tail -n 30 "$log" | sed 's/^/  guest| /'
fi
exit "$status"
