#!/usr/bin/env bash
# The ARM64 stage of the test command: in an arm64 Debian root with Wine (built on first use, then cached), run
# through qemu-aarch64-static, runs every ARM64 test program of build/arm64, regsvr32 and regsvr32 /u of the
# ARM64 library checked with reg query, a COM activation by the ARM64 shell host (classic and Windows 11 menus,
# each invoking a command that reaches the ARM64 stand-in) and the arm64 installer package as far as Wine's
# msiexec goes; reports each step and fails if any step failed. Outside CI a developer may skip it with
# TARNCTX_SKIP_ARM64=1. Needs root (binfmt_misc, chroot).
set -euo pipefail
cd "$(dirname "$0")/../.."
here=tools/arm64-stage

if [ -n "${TARNCTX_SKIP_ARM64:-}" ] && [ "$TARNCTX_SKIP_ARM64" != 0 ]; then
  if [ "${CI:-}" = true ]; then
    echo "arm64: TARNCTX_SKIP_ARM64 is ignored in CI: the ARM64 stage runs."
  else
    echo "################################################################################"
    echo "## SKIPPED: the ARM64 stage (TARNCTX_SKIP_ARM64 is set). The ARM64 tests, its  ##"
    echo "## registration, activation and package did NOT run.                          ##"
    echo "################################################################################"
    exit 0
  fi
fi

fail() { echo "arm64: $1" >&2; echo "arm64: 0 passed, 1 failed (the stage's set-up)"; exit 1; }
[ "$(id -u)" -eq 0 ] || fail "step 'root': the stage mounts binfmt_misc and runs a chroot: run it as root"
for file in build/arm64/tarnctx.dll build/arm64/tarnassoc.exe build/arm64/AppxManifest.xml \
            build/arm64/tools/shellhost.exe build/arm64/tools/standin.exe; do
  [ -f "$file" ] || fail "step 'outputs': $file is missing: run tools/build.sh"
done

stage_start=$SECONDS
echo "arm64: the ARM64 stage"
work=$(mktemp -d /tmp/tarnctx-arm64.XXXX)
root=$work/root
source "$here/binfmt.sh"
job_pid=
cleanup() {
  local pid
  [ -z "$job_pid" ] || kill "$job_pid" 2>/dev/null
  # Whatever still runs inside the root (a wineserver, a hung program) was started by this stage: ended by id.
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ] && kill -9 "$pid" 2>/dev/null
  done
  tools/x86-guest/unmount-under.sh "$work" && rm -rf "$work"
  binfmt_down
}
trap cleanup EXIT
trap 'exit 130' INT TERM

binfmt_up || fail "step 'binfmt': cannot run arm64 programs (message above)"
archive=$("$here/root.sh") || fail "step 'root file system': see above"

start=$SECONDS
mkdir -p "$root"
tar --zstd -xf "$archive" -C "$root" 2>"$work/untar.log" ||
  { rm -f "$archive.sha256"
    fail "step 'unpack': $archive did not unpack ($(head -n 1 "$work/untar.log")): it will be rebuilt on the next run"; }
echo "arm64: root unpacked in $((SECONDS - start)) s"

job=$root/job
mkdir -p "$job/arm64/tests" "$job/arm64/tools" "$job/results"
cp build/arm64/tarnctx.dll build/arm64/tarnassoc.exe build/arm64/AppxManifest.xml "$job/arm64/"
# The benchmark stays on the host: timings under emulation mean nothing.
cp build/arm64/tests/*_tests.exe build/arm64/tests/standin.exe "$job/arm64/tests/"
cp build/arm64/tools/shellhost.exe build/arm64/tools/standin.exe "$job/arm64/tools/"
# The installer packages: this version's, an older arm64 one to upgrade from, and the x64 one, which must refuse.
for arch in arm64 x64; do
  for package in build/installer/tarnctx-*-$arch.msi; do
    [ -f "$package" ] && cp "$package" "$job/tarnctx-$arch.msi"
  done
done
if [ -f "$job/tarnctx-arm64.msi" ]; then
  older=$(tools/make-installer.sh arm64 "$work/older" 2.9.0.0) && cp "$older" "$job/tarnctx-arm64-older.msi"
fi
install -m 755 "$here/tests-job.sh" "$job/job.sh"
install -m 644 tools/stage-steps.sh "$job/steps.sh"
# The classic handler's class identifier, the first of the class identifiers in their one home in the source.
sed -n 's|^// \({[0-9A-Fa-f-]*}\)$|\1|p' shell/Identities.h | head -n 1 >"$job/handler-class"

for fs in proc sys dev dev/pts; do mkdir -p "$root/$fs" && mount --bind "/$fs" "$root/$fs"; done
mount -t tmpfs tmpfs "$root/dev/shm"
start=$SECONDS
job_status=0
# In the background and waited for, so that an interruption ends the stage at once rather than after the job.
timeout -k 20 1500 chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LC_ALL=C.UTF-8 \
  /job/job.sh &
job_pid=$!
wait "$job_pid" || job_status=$?
job_pid=
echo "arm64: ran the steps in $((SECONDS - start)) s"

steps=()
for program in build/arm64/tests/*_tests.exe; do steps+=("$(basename "$program" .exe)"); done
steps+=(register activate unregister install refuse-x64)
report_status=0
TARNCTX_REPORT_ARCH=arm64 tools/x86-guest/report.sh "$job/results" "${steps[@]}" || report_status=$?
echo "arm64: the ARM64 stage took $((SECONDS - stage_start)) s"
[ "$job_status" -eq 0 ] || echo "arm64: the job in the root failed (exit code $job_status$([ "$job_status" = 124 ] && echo ", timed out"))"
[ "$job_status" -eq 0 ] && [ "$report_status" -eq 0 ]
