#!/bin/bash
# The job of the ARM64 stage, run inside the arm64 root: every ARM64 test program (*_tests.exe) under arm64
# Wine on a virtual display, then regsvr32 of the ARM64 library checked with reg query, one activation through
# COM by the ARM64 shell host (classic menu and Windows 11's Explorer command, each invoking a command that starts
# the ARM64 stand-in), regsvr32 /u, and the arm64 installer package. Each step is bounded; its output, exit code
# and time go to /job/results, and one line per step to the output.
set -uo pipefail
cd /job || exit 1
results=/job/results
mkdir -p "$results"
export WINEPREFIX=/root/wineprefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d"
export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
library='Z:\job\arm64\tarnctx.dll'
server_key="HKCR\\CLSID\\$(cat /job/handler-class)\\InprocServer32"
stage_arch=arm64
stage_label="arm64 job"
source /job/steps.sh
# What the stand-in must receive, as on x64: the switch and the quoted paths, each followed by a space.
expected_line='command line  [Z:\job\arm64\tools\standin.exe /e "Z:\tmp\samples\holiday.bmp" "Z:\tmp\samples\report.docx" ]'

# The menu and the invoked command of one shell host run, checked against what x64 shows.
check_run() {
  local output=$1 what=$2
  grep -q 'Tarnwick' "$output" && grep -q 'Hide in this carrier' "$output" ||
    { echo "$what: no Tarnwick submenu with its carrier item"; return 1; }
  grep -qF "$expected_line" "$output" ||
    { echo "$what: the ARM64 stand-in did not receive the command line x64 gives it: $expected_line"; return 1; }
  grep -q 'holiday.bmp  (exists)' "$output" ||
    { echo "$what: the stand-in did not find the selected files"; return 1; }
}

activate() {
  right_click_both_menus || return 1
  check_run /tmp/menu "the classic menu" && check_run /tmp/modern "Windows 11's menu"
}

# The arm64 Windows Installer package: an older one installed, this one over it, right-clicked through the
# installed library, and removed. Each msiexec run's log is kept and its end shown on failure.
msiexec_logged() {
  local log=$1 status=0
  shift
  wine msiexec "$@" /qn /l*v "Z:\\tmp\\$log.log" || status=$?
  [ "$status" -eq 0 ] ||
    { echo "msiexec $* failed with exit code $status; the end of its log:"; tr -d '\r\0' <"/tmp/$log.log" | tail -n 25; }
  return "$status"
}
# Where the installer put both libraries apart, as on Windows: the 32-bit one in its view and folder, and a
# right-click through the installed ARM64 library reaching the stand-in.
installed_right_click() {
  # The 32-bit library's entry in the 32-bit view: on Windows in C:\Program Files (x86)\Tarnwick context menu.
  wine reg query "$server_key" /ve /reg:32 | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *\(.*\)$/32-bit library: \1/p'
  [ -f "$WINEPREFIX/drive_c/Program Files (x86)/Tarnwick context menu/tarnctx.dll" ] ||
    { echo "the 32-bit library is not in C:\Program Files (x86)"; return 1; }
  wine arm64/tools/shellhost.exe --invoke Tarnwick/Encrypt... \
    'Z:\tmp\samples\holiday.bmp' 'Z:\tmp\samples\report.docx' | tee /tmp/installed || return 1
  grep -q 'Hide in this carrier' /tmp/installed && grep -q 'holiday.bmp  (exists)' /tmp/installed ||
    { echo "no menu from the installed library, or its command did not reach the stand-in"; return 1; }
}

install_package() {
  local package='Z:\job\tarnctx-arm64.msi' server folder
  [ -f /job/tarnctx-arm64.msi ] && [ -f /job/tarnctx-arm64-older.msi ] || { echo "no arm64 packages were built"; return 1; }
  msiexec_logged install-older /i 'Z:\job\tarnctx-arm64-older.msi' || return 1
  echo "msiexec /i tarnctx-2.9.0.0-arm64.msi: done"
  msiexec_logged upgrade /i "$package" || return 1
  echo "msiexec /i tarnctx-arm64.msi over it: done"
  wine reg query "$server_key" /ve | tee /tmp/query || return 1
  # The folder the installer chose, from the class entry it wrote: on Windows C:\Program Files\Tarnwick context menu.
  server=$(tr -d '\r' </tmp/query | sed -n 's/^ *(Default) *REG_SZ *\(.*\)$/\1/p')
  folder=$(dirname "$(wine winepath -u "$server" 2>/dev/null | tr -d '\r')")
  echo "installed in $(wine winepath -w "$folder" 2>/dev/null | tr -d '\r')"
  [ -f "$folder/tarnctx.dll" ] && [ -f "$folder/tarnassoc.exe" ] && [ -f "$folder/tarnctx-menu.msix" ] ||
    { echo "the files are not installed in $folder"; return 1; }
  if [ "$folder" -ef "$WINEPREFIX/drive_c/Program Files/Tarnwick context menu" ]; then
    installed_right_click || return 1
  else
    echo "WHERE WINE STOPS: its arm64 msiexec resolves both Program Files folders of an Arm64 package to C:\, so"
    echo "  both libraries went to one folder and the 32-bit one replaced the ARM64 one: the two folders, the"
    echo "  32-bit view's entry and a right-click through the installed library are NOT verified here"
  fi
  msiexec_logged uninstall /x "$package" || return 1
  echo "msiexec /x tarnctx-arm64.msi: done"
  if wine reg query "$server_key" /ve >/dev/null 2>&1 || [ -e "$folder" ]; then
    echo "the uninstall left the class or the files"
    return 1
  fi
  echo "the class and the files are gone"
}

# The x64 package on ARM64: it must refuse, naming the ARM64 package. Wine 8.0 on arm64 reports the processor as
# x86 in the system environment, where Windows on ARM reports ARM64: that is set for this one install.
refuse_x64() {
  local environment='HKLM\System\CurrentControlSet\Control\Session Manager\Environment' status=0
  [ -f /job/tarnctx-x64.msi ] || { echo "no x64 package was built"; return 1; }
  wine reg query "$environment" /v PROCESSOR_ARCHITECTURE | tr -d '\r' | grep PROCESSOR_ARCHITECTURE
  local reported
  reported=$(wine reg query "$environment" /v PROCESSOR_ARCHITECTURE | tr -d '\r' | awk '/PROCESSOR_ARCHITECTURE/ {print $3}')
  wine reg add "$environment" /v PROCESSOR_ARCHITECTURE /d ARM64 /f >/dev/null
  wine msiexec /i 'Z:\job\tarnctx-x64.msi' /qn /l*v 'Z:\tmp\x64.log' || status=$?
  wine reg add "$environment" /v PROCESSOR_ARCHITECTURE /d "$reported" /f >/dev/null
  [ "$status" -ne 0 ] || { echo "the x64 package installed on ARM64"; wine msiexec /x 'Z:\job\tarnctx-x64.msi' /qn; return 1; }
  echo "msiexec /i tarnctx-x64.msi failed (exit code $status)"
  # Wine's log records a failed action as return value 0 (Windows: 3) and, with /qn, not the message's text.
  local log
  log=$(tr -d '\r\0' </tmp/x64.log)
  grep -aE 'Action ended .*: LaunchConditions\. Return value (0|3)\.' <<<"$log" ||
    { echo "it was not the launch conditions that refused it; its log says:"
      grep -aE 'Return value|error' <<<"$log" | tail -n 8; return 1; }
  [ ! -e "$WINEPREFIX/drive_c/Program Files/Tarnwick context menu" ] || { echo "it left files"; return 1; }
  grep -aoq 'On Windows on ARM, install tarnctx-[0-9.]*-arm64\.msi' /job/tarnctx-x64.msi ||
    { echo "the package's launch condition does not name the ARM64 package"; return 1; }
  echo "refused by its launch condition, whose message reads: $(grep -ao 'This package is for x64 Windows[^<]*arm64\.msi\.' /job/tarnctx-x64.msi | head -n 1)"
}
export -f check_run activate install_package installed_right_click msiexec_logged refuse_x64
export expected_line

# A virtual display for the menus and message boxes, ended with the job.
Xvfb :7 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
display_pid=$!
export DISPLAY=:7
trap 'kill "$display_pid" 2>/dev/null; "$WINESERVER" -k 2>/dev/null' EXIT

start=$SECONDS
timeout -k 10 300 "$WINELOADER" wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
"$WINESERVER" -w
echo "arm64 job: Wine prefix made in $((SECONDS - start)) s"
# One persistent wineserver for the run.
"$WINESERVER" -p
wine wineboot >/dev/null 2>&1

for program in arm64/tests/*_tests.exe; do
  bound=300
  [ "$(basename "$program")" = tools_tests.exe ] && bound=900
  step "$(basename "$program" .exe)" "$bound" "$WINELOADER" "$program"
done
step register 120 bash -c register
step activate 180 bash -c activate
step unregister 120 bash -c unregister
step install 300 bash -c install_package
step refuse-x64 120 bash -c refuse_x64
