# Sourced: registers qemu-aarch64-static with the kernel's binfmt_misc for this process's runs of arm64
# programs, and removes that registration again (binfmt_down; the caller traps it on every way out).
# Each caller registers an entry of its own, so concurrent runs do not remove each other's.
binfmt_dir=/proc/sys/fs/binfmt_misc
binfmt_entry=tarnctx-aarch64-$$
binfmt_mounted_here=

binfmt_up() {
  local conf=/usr/lib/binfmt.d/qemu-aarch64.conf emulator=/usr/bin/qemu-aarch64-static line magic mask
  [ -x "$emulator" ] && [ -f "$conf" ] ||
    { echo "arm64 binfmt: $emulator or $conf is missing: run tools/setup.sh (package qemu-user-static)" >&2; return 1; }
  if [ ! -e "$binfmt_dir/register" ]; then
    mount -t binfmt_misc binfmt_misc "$binfmt_dir" 2>/dev/null ||
      { echo "arm64 binfmt: cannot mount binfmt_misc on $binfmt_dir (needs root, and a kernel with" \
             "binfmt_misc; in a container, run it with --privileged)" >&2; return 1; }
    binfmt_mounted_here=1
  fi
  # Debian's entry names its own wrapper; ours names the static emulator, opened now (F) so that it also
  # serves programs inside the arm64 root.
  line=$(grep -v '^#' "$conf" | head -n 1)
  magic=$(cut -d: -f5 <<<"$line")
  mask=$(cut -d: -f6 <<<"$line")
  echo ":$binfmt_entry:M::$magic:$mask:$emulator:F" >"$binfmt_dir/register" 2>/dev/null ||
    { echo "arm64 binfmt: the kernel refused the registration of $emulator in $binfmt_dir/register" >&2; return 1; }
}

binfmt_down() {
  [ -e "$binfmt_dir/$binfmt_entry" ] && echo -1 >"$binfmt_dir/$binfmt_entry" 2>/dev/null
  # Unmounted only if mounted here and no other run of ours still uses it.
  if [ -n "$binfmt_mounted_here" ] && ! compgen -G "$binfmt_dir/tarnctx-aarch64-*" >/dev/null; then
    umount "$binfmt_dir" 2>/dev/null || true
  fi
  return 0
}
