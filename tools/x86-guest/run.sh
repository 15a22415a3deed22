#!/usr/bin/env bash
# The 32-bit stage of the test command: inside an emulated x86-64 machine with 32-bit Wine (built on first
# use, then cached), runs every i686 test program of build/x86, regsvr32 and regsvr32 /u of the 32-bit library
# checked with reg query, and one activation through COM; reports each step and fails if any step failed.
# Outside CI a developer may skip it with TARNCTX_SKIP_X86=1.
set -euo pipefail
cd "$(dirname "$0")/../.."
here=tools/x86-guest

if [ -n "${TARNCTX_SKIP_X86:-}" ] && [ "$TARNCTX_SKIP_X86" != 0 ]; then
  if [ "${CI:-}" = true ]; then
    echo "x86 guest: TARNCTX_SKIP_X86 is ignored in CI: the 32-bit stage runs."
  else
    echo "################################################################################"
    echo "## SKIPPED: the 32-bit stage (TARNCTX_SKIP_X86 is set). The i686 tests, the    ##"
    echo "## 32-bit registration and activation did NOT run.                             ##"
    echo "################################################################################"
    exit 0
  fi
fi

stage_start=$SECONDS
echo "x86 guest: the 32-bit stage"
start=$SECONDS
guest=$("$here/image.sh")
echo "x86 guest: image ready after $((SECONDS - start)) s"

work=$(mktemp -d /tmp/tarnctx-x86.XXXX)
trap 'rm -rf "$work"' EXIT
job=$work/job
mkdir -p "$job/x86/tests" "$job/x86/tools" "$job/results"
cp build/x86/tarnctx.dll build/x86/tarnassoc.exe "$job/x86/"
# The package is built for x64 only; its manifest names the class and the library's file, which the 32-bit
# library serves as well, so the shell host's Windows 11 menu runs against it too.
cp build/x64/AppxManifest.xml "$job/x86/"
# The benchmark stays on the host: it never fails, and emulated it would take most of the stage's time.
cp build/x86/tests/*_tests.exe build/x86/tests/standin.exe "$job/x86/tests/"
cp build/x86/tools/shellhost.exe build/x86/tools/standin.exe "$job/x86/tools/"
cp build/installer/tarnctx-*-x86.msi "$job/tarnctx-x86.msi"
install -m 755 "$here/tests-job.sh" "$job/job.sh"
install -m 644 tools/stage-steps.sh "$job/steps.sh"
# The classic handler's class identifier, the first of the class identifiers in their one home in the source.
sed -n 's|^// \({[0-9A-Fa-f-]*}\)$|\1|p' shell/Identities.h | head -n 1 >"$job/handler-class"
mkfs.ext4 -q -F -O ^has_journal -L job -d "$job" "$work/job.img" 256M >/dev/null

start=$SECONDS
boot_status=0
"$here/boot.sh" --snapshot "$guest" "$work/job.img" "$work/console.log" 2400 || boot_status=$?
echo "x86 guest: booted, ran the tests and powered off in $((SECONDS - start)) s"

debugfs -R "rdump /results $work" "$work/job.img" >/dev/null 2>&1 || true
steps=()
for program in build/x86/tests/*_tests.exe; do steps+=("$(basename "$program" .exe)"); done
steps+=(register activate unregister install)
report_status=0
"$here/report.sh" "$work/results" "${steps[@]}" || report_status=$?
echo "x86 guest: the 32-bit stage took $((SECONDS - stage_start)) s"
[ "$boot_status" -eq 0 ] || echo "x86 guest: the guest failed (exit code $boot_status)"
[ "$boot_status" -eq 0 ] && [ "$report_status" -eq 0 ]
