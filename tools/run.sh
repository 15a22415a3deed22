#!/usr/bin/env bash
# The main job: builds tarnctx.dll for both architectures, registers the 64-bit one with regsvr32 in a Wine
# prefix and shows the "Tarnwick" submenu that Explorer would show for some files. With arguments (a folder,
# then file names in it) it shows the submenu for those files; without, for a few sample selections.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=build/x64/wineprefix

if [ -z "${TARNCTX_SESSION:-}" ]; then
  tools/setup.sh
  tools/build.sh >/dev/null
  echo "Built: build/x86/tarnctx.dll (32-bit), build/x64/tarnctx.dll (64-bit)"
  # Again, inside a display and one Wine session.
  exec xvfb-run -a -s "-screen 0 1024x768x24" tools/wine-session "$prefix" -- env TARNCTX_SESSION=1 "$0" "$@"
fi

show() { tools/wine-run "$prefix" build/x64/tools/showmenu.exe "$@"; }

tools/wine-run "$prefix" regsvr32 /s "$(tools/wine-run "$prefix" winepath -w "$PWD/build/x64/tarnctx.dll")"
echo "Registered build/x64/tarnctx.dll with regsvr32 in $prefix"
if [ $# -gt 0 ]; then
  show "$@"
  exit
fi

samples=$(mktemp -d /tmp/tarnctx-samples.XXXX)
trap 'rm -rf "$samples"' EXIT
touch "$samples/holiday.bmp" "$samples/report.docx" "$samples/archive.twk" "$samples/notes.twk"
folder="Z:${samples//\//\\}"
tools/wine-run "$prefix" reg add 'HKCU\Software\Velmora\Tarnwick 3.0\Options' /v UnhideMask /d '*.bmp;*.jpg' /f >/dev/null
echo; echo "Options: carrier extensions *.bmp;*.jpg, both filters on"
echo; echo "Right-click on holiday.bmp and report.docx:"; show "$folder" holiday.bmp report.docx
echo; echo "Right-click on archive.twk and notes.twk:"; show "$folder" archive.twk notes.twk
echo; echo "Right-click on report.docx:"; show "$folder" report.docx
