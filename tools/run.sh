#!/usr/bin/env bash
# The main job, from a fresh machine: sets it up, builds tarnctx.dll for both architectures and the tools, then, in a
# Wine prefix of its own, installs the x64 Windows Installer package (both libraries and tarnassoc, which attaches
# the handler to all files), sets demonstration options and sample files, and does through the shell host what a
# right-click in Explorer does: two menus, one chosen command with what the main application received, and a
# screenshot of the open menu; then the same in Windows 11's first menu, through the Explorer command that the
# package registers.
# With arguments, the shell host runs on them instead (files or folders, and its options), e.g.
#   tools/run.sh ~/Pictures/beach.bmp     or     tools/run.sh --explore 'Z:\home\me\notes.txt'
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=build/x64/demo-prefix
demo=build/demo
screenshot=build/menu.png

if [ -z "${TARNCTX_SESSION:-}" ]; then
  mkdir -p build
  # Quiet unless something fails; the logs stay in build/.
  tools/setup.sh >build/setup.log 2>&1 || { cat build/setup.log; exit 1; }
  echo "Set-up: the packages are there (tools/setup.sh)"
  tools/build.sh >build/build.log 2>&1 || { tail -n 40 build/build.log; exit 1; }
  echo "Built: build/x86/tarnctx.dll (32-bit), build/x64/tarnctx.dll (64-bit) and build/arm64/tarnctx.dll"
  echo "       (Windows on ARM, with its tools and build/arm64/tarnctx-menu.msix), and the Windows Installer"
  echo "       packages in build/installer (x64, arm64, x86); this demonstration runs the x64 one"
  # Again, inside a display (for the screenshot) and one Wine session.
  exec xvfb-run -a -s "-screen 0 1024x768x24" tools/wine-session "$prefix" -- env TARNCTX_SESSION=1 "$0" "$@"
fi

wine() { tools/wine-run "$prefix" "$@"; }
windows_path() { wine winepath -w "$1" 2>/dev/null; }
# Runs the shell host after showing its command, with the paths in the repository shortened.
host() {
  local shown=() argument
  for argument in "$@"; do
    argument=${argument#"$folder\\"}
    shown+=("${argument#"$repository\\"}")
  done
  echo "> shellhost ${shown[*]}"
  wine build/x64/tools/shellhost.exe "$@"
}
echo "Wine prefix: $prefix (private to this demonstration)"

# As a user installs it: the x64 Windows Installer package, which also replaces the one of an earlier run.
package=$(ls build/installer/tarnctx-*-x64.msi)
wine msiexec /i "$(windows_path "$PWD/$package")" /qn >/dev/null
echo "Installed $package (msiexec /i, for every user): the libraries in"
echo "C:\Program Files and C:\Program Files (x86) under \"Tarnwick context menu\", their class entries in both"
echo "registry views, and the handler attached to all files by the installed tarnassoc:"
query() { wine reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p'; }
class=$(query 'HKCR\*\shellex\ContextMenuHandlers\Tarnwick')
echo "  HKCR\\*\\shellex\\ContextMenuHandlers\\Tarnwick names ${class:-nothing}, whose server is"
echo "  $(query "HKCR\\CLSID\\$class\\InprocServer32") (the installed library, by its short path)"

if [ $# -gt 0 ]; then
  arguments=()
  for argument in "$@"; do
    # Paths of this machine become the prefix's Z: paths; options and Windows paths pass as they are.
    [[ $argument != --* && -e $argument ]] && argument=$(windows_path "$(realpath "$argument")")
    arguments+=("$argument")
  done
  exec tools/wine-run "$prefix" build/x64/tools/shellhost.exe "${arguments[@]}"
fi

options=$(mktemp --suffix=.reg)
trap 'rm -f "$options"' EXIT
standin=$(windows_path "$PWD/build/x64/tools/standin.exe")
cat >"$options" <<REG
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Velmora\\Tarnwick 3.0\\Options]
"ExeName"="${standin//\\/\\\\}"
"DecryptSec"="1"
"UnhideInst"="1"
"UnhideMask"="*.bmp;*.jpg;*.twk"
REG
wine reg import "$(windows_path "$options")" >/dev/null 2>&1
echo "Options: ExeName = build/x64/tools/standin.exe (a stand-in main application), decrypt filter on,"
echo "         carrier filter on with the carriers *.bmp;*.jpg;*.twk (a .twk file can carry hidden data too)"

rm -rf "$demo" && mkdir -p "$demo"
cp res/icon1.bmp "$demo/beach.bmp"
printf 'Dear Ann,\r\nthe keys are under the mat.\r\n' >"$demo/letter.txt"
head -c 64 /dev/urandom >"$demo/secret.twk"
repository=$(windows_path "$PWD")
folder=$(windows_path "$PWD/$demo")
echo "Sample files in $demo ($folder): beach.bmp (a picture), letter.txt, secret.twk"

echo
echo "Right-click on secret.twk: the carrier block is there (the first file is a carrier) and so is"
echo "Decrypt... (every selected file is a .twk file). The open menu is photographed."
host --screenshot "$(windows_path "$PWD/$screenshot")" "$folder\\secret.twk"
echo
echo "Right-click on letter.txt and beach.bmp: neither the carrier block (letter.txt is no carrier) nor"
echo "Decrypt... (they are not .twk files)."
host "$folder\\letter.txt" "$folder\\beach.bmp"
echo
echo "Choosing Tarnwick > Encrypt... for beach.bmp and letter.txt starts the main application:"
host --no-menu --invoke "Tarnwick/Encrypt..." "$folder\\beach.bmp" "$folder\\letter.txt"

echo
echo "The same right-clicks in Windows 11's first menu: the Explorer command that the package's manifest"
echo "registers (build/x64/tarnctx-menu.msix, signed with a test certificate), created from the library beside"
echo "it and given the selection as shell items, as Explorer does. Wine shows no such menu itself; this is the"
echo "host reading the command's subcommands."
host --modern "$folder\\secret.twk"
echo
host --modern "$folder\\letter.txt" "$folder\\beach.bmp"
echo
echo "Choosing Tarnwick > Encrypt... there hands the main application the same command line:"
host --modern --no-menu --invoke "Tarnwick/Encrypt..." "$folder\\beach.bmp" "$folder\\letter.txt"
