#!/bin/bash
# The job of a test run inside the guest: every i686 test program (*_tests.exe), then regsvr32 of the 32-bit
# library checked with reg query, one activation through COM by the shell host (menu and a command that starts the
# stand-in), the same through Windows 11's Explorer command, regsvr32 /u, and the x86 installer package. Each step is
# bounded; its output, exit code and time go to /job/results, and one line per step to the console.
set -uo pipefail
cd /job || exit 1
results=/job/results
mkdir -p "$results"
library='Z:\job\x86\tarnctx.dll'
server_key="HKCR\\CLSID\\$(cat /job/handler-class)\\InprocServer32"
stage_arch=x86
stage_label="tarnctx-guest"
source /job/steps.sh

activate() {
  right_click_both_menus || return 1
  if ! grep -q 'Hide in this carrier' /tmp/modern || ! grep -q 'holiday.bmp  (exists)' /tmp/modern; then
    echo "Windows 11's menu lacks the carrier item, or its command did not reach the stand-in"
    return 1
  fi
  if ! grep -q 'Tarnwick' /tmp/menu || ! grep -q 'Hide in this carrier' /tmp/menu; then
    echo "no Tarnwick submenu with its carrier item"
    return 1
  fi
  if ! grep -q 'holiday.bmp  (exists)' /tmp/menu; then
    echo "the stand-in main application did not receive the selection"
    return 1
  fi
}

# The x86 Windows Installer package: installed, right-clicked through the shell host, and removed again.
install_package() {
  local package='Z:\job\tarnctx-x86.msi' folder="$WINEPREFIX/drive_c/Program Files/Tarnwick context menu"
  wine msiexec /i "$package" /qn || { echo "msiexec /i failed with exit code $?"; return 1; }
  echo "msiexec /i tarnctx-x86.msi: done"
  wine reg query "$server_key" /ve | tee /tmp/query || return 1
  [ -f "$folder/tarnctx.dll" ] && [ -f "$folder/tarnassoc.exe" ] || { echo "the files are not installed"; return 1; }
  wine x86/tools/shellhost.exe --invoke Tarnwick/Encrypt... \
    'Z:\tmp\samples\holiday.bmp' 'Z:\tmp\samples\report.docx' | tee /tmp/installed || return 1
  grep -q 'Hide in this carrier' /tmp/installed && grep -q 'holiday.bmp  (exists)' /tmp/installed ||
    { echo "no menu from the installed library, or its command did not reach the stand-in"; return 1; }
  wine msiexec /x "$package" /qn || { echo "msiexec /x failed with exit code $?"; return 1; }
  echo "msiexec /x tarnctx-x86.msi: done"
  if wine reg query "$server_key" /ve >/dev/null 2>&1 || [ -e "$folder" ]; then
    echo "the uninstall left the class or the files"
    return 1
  fi
  echo "the class and the files are gone"
}
export -f activate install_package

# One persistent wineserver for the run, and Wine's own services started before the first program.
"$WINESERVER" -p
wine wineboot >/dev/null 2>&1

# The tools' tests start a process for every tool run, a second or more each under emulation: they get longer.
for program in x86/tests/*_tests.exe; do
  bound=600
  [ "$(basename "$program")" = tools_tests.exe ] && bound=1500
  step "$(basename "$program" .exe)" "$bound" "$WINELOADER" "$program"
done
step register 120 bash -c register
step activate 120 bash -c activate
step unregister 120 bash -c unregister
step install 180 bash -c install_package

"$WINESERVER" -k
