# Sourced by the 32-bit and ARM64 stages' jobs: running one bounded step, and registering and unregistering the
# stage's library checked with reg query, and right-clicking through both menus. The job sets stage_label,
# stage_arch (its build folder under /job), library and server_key first.

wine() { "$WINELOADER" "$@"; }

# Each step's output, exit code and time go to /job/results, and one line to the console.
step() {
  local name=$1 seconds=$2 start=$SECONDS status=0
  shift 2
  echo "$name" >>"$results/steps"
  timeout -k 10 "$seconds" "$@" >"$results/$name.log" 2>&1 </dev/null || status=$?
  echo "$status" >"$results/$name.rc"
  echo "$((SECONDS - start))" >"$results/$name.time"
  sync
  echo "$stage_label: $name exited $status after $((SECONDS - start)) s"
}

register() {
  wine regsvr32 /s "$library" || { echo "regsvr32 failed with exit code $?"; return 1; }
  echo "regsvr32 $library: done"
  wine reg query "$server_key" /ve | tee /tmp/query || return 1
  grep -qiF "$library" /tmp/query || { echo "the class is not registered to $library"; return 1; }
}

unregister() {
  wine regsvr32 /s /u "$library" || { echo "regsvr32 /u failed with exit code $?"; return 1; }
  echo "regsvr32 /u $library: done"
  if wine reg query "$server_key" /ve; then
    echo "the class is still registered"
    return 1
  fi
  echo "reg query: the class is gone"
}

# The association installed by the stage's tarnassoc and the options pointed at its stand-in; then two sample
# files right-clicked, choosing Encrypt..., in the classic menu (output in /tmp/menu) and in Windows 11's
# (/tmp/modern); then the association removed. Each job checks the two outputs its own way.
right_click_both_menus() {
  local options='HKCU\Software\Velmora\Tarnwick 3.0\Options'
  local files=('Z:\tmp\samples\holiday.bmp' 'Z:\tmp\samples\report.docx')
  mkdir -p /tmp/samples
  touch /tmp/samples/holiday.bmp /tmp/samples/report.docx
  wine "$stage_arch/tarnassoc.exe" install || return 1
  wine reg add "$options" /v UnhideMask /d '*.bmp;*.jpg' /f >/dev/null
  wine reg add "$options" /v ExeName /d "Z:\\job\\$stage_arch\\tools\\standin.exe" /f >/dev/null
  wine "$stage_arch/tools/shellhost.exe" --invoke Tarnwick/Encrypt... "${files[@]}" | tee /tmp/menu || return 1
  wine "$stage_arch/tools/shellhost.exe" --modern --invoke Tarnwick/Encrypt... "${files[@]}" | tee /tmp/modern ||
    return 1
  wine "$stage_arch/tarnassoc.exe" uninstall
}

# Steps run in a child process (under timeout): it needs these functions and what they read.
export -f wine register unregister right_click_both_menus
export stage_arch library server_key
