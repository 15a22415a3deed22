#!/usr/bin/env bash
# The main job: builds tarnctx for both architectures, then shows under Wine the "Tarnwick" submenu that
# Explorer would show for some files. With arguments (a folder, then file names in it) it shows the submenu
# for those files; without, for a few sample selections.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh >/dev/null
echo "Built: $(ls build/x86/tools/showmenu.exe build/x64/tools/showmenu.exe | tr '\n' ' ')"

prefix=build/x64/wineprefix
show() { tools/wine-run "$prefix" build/x64/tools/showmenu.exe "$@"; }

demo() {
  if [ $# -gt 0 ]; then
    show "$@"
    return
  fi
  local samples; samples=$(mktemp -d /tmp/tarnctx-samples.XXXX)
  touch "$samples/holiday.bmp" "$samples/report.docx" "$samples/archive.twk" "$samples/notes.twk"
  local folder="Z:${samples//\//\\}"
  tools/wine-run "$prefix" reg add 'HKCU\Software\Velmora\Tarnwick 3.0\Options' /v UnhideMask /d '*.bmp;*.jpg' /f >/dev/null
  echo; echo "Options: carrier extensions *.bmp;*.jpg, both filters on"
  echo; echo "Right-click on holiday.bmp and report.docx:"; show "$folder" holiday.bmp report.docx
  echo; echo "Right-click on archive.twk and notes.twk:"; show "$folder" archive.twk notes.twk
  echo; echo "Right-click on report.docx:"; show "$folder" report.docx
  rm -rf "$samples"
}

export -f show demo
export prefix
xvfb-run -a -s "-screen 0 1024x768x24" tools/wine-session "$prefix" -- bash -c 'demo "$@"' demo "$@"
