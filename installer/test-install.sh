#!/usr/bin/env bash
# The x64 package under Wine, in a fresh prefix of its own: an older package built here is installed, then this
# one over it (major upgrade), right-clicked through the shell host and its command invoked; its class entries
# compared with what regsvr32 writes; a downgrade refused; then uninstalled, down to the last file and key, with
# the suite's options and another class's handler entry kept; last, on a system that reports Windows 11, an install
# whose menu package cannot be confirmed fails and is rolled back.
# Usage: test-install.sh INSTALLER-FOLDER (where tools/build.sh put the packages)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
package=$(realpath "$1"/tarnctx-*-x64.msi) || { echo "no x64 package in $1"; exit 1; }
work=$root/build/x64/install-test
rm -rf "$work"
mkdir -p "$work"

failed=0
fail() { echo "FAIL: $*"; failed=1; }

# The older package: version 2.9, with one file that 3.0 no longer has; built in a scratch folder, removed at the
# end, so that no package of another version is left among the build's own.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
sed 's|<File Id="tarnassoc.exe"[^>]*/>|&<File Id="OldOnly" Name="old-only.txt" Source="x64/AppxManifest.xml"/>|' \
  "$root/installer/tarnctx.wxs" >"$scratch/old.wxs"
old=$("$root/tools/make-installer.sh" x64 "$scratch" 2.9.0.0 "$scratch/old.wxs") ||
  { echo "cannot build the older package"; exit 1; }

source "$root/tools/wine-env.sh" "$work/prefix"
"$WINESERVER" -p
trap '"$WINESERVER" -k >/dev/null 2>&1 || true; rm -rf "$scratch"' EXIT
wine() { "$WINELOADER" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
# Each run's log is kept, named after the run.
msiexec() { local log=$1; shift; wine msiexec "$@" /qn /l*v "$work/$log.log"; }

class=$(sed -n 's|^// \({[0-9A-Fa-f-]*}\)$|\1|p' "$root/shell/Identities.h" | head -n 1)
drive=$WINEPREFIX/drive_c
folder64="$drive/Program Files/Tarnwick context menu"
folder32="$drive/Program Files (x86)/Tarnwick context menu"
options='HKCU\Software\Velmora\Tarnwick 3.0\Options'
handler='HKCR\*\shellex\ContextMenuHandlers\Tarnwick'
approved='HKLM\Software\Microsoft\Windows\CurrentVersion\Shell Extensions\Approved'
class_entries() { wine reg query "HKCR\\CLSID\\$class" /s "/reg:$1"; }
installed_versions() {
  wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s |
    grep -c 'DisplayName  *REG_SZ  *Tarnwick context menu$' || true
}
host() { wine "$root/build/x64/tools/shellhost.exe" "$@"; }

mkdir -p "$drive/samples" "$drive/suite"
touch "$drive/samples/holiday.bmp" "$drive/samples/report.docx"
cp "$root/build/x64/tools/standin.exe" "$drive/suite/main.exe"
samples=('C:\samples\holiday.bmp' 'C:\samples\report.docx')

# Install and upgrade -------------------------------------------------------------------------------------
msiexec install-older /i "$(wine winepath -w "$old")" || fail "the older package did not install"
[ -f "$folder64/old-only.txt" ] || fail "the older package's own file is missing"
wine reg add "$options" /v ExeName /d 'C:\suite\main.exe' /f >/dev/null
wine reg add "$options" /v UnhideMask /d '*.bmp' /f >/dev/null
msiexec upgrade /i "$(wine winepath -w "$package")" || fail "the package did not install over the older one (exit $?)"
[ ! -e "$folder64/old-only.txt" ] || fail "the upgrade left the older package's file"
for file in "$folder64/tarnctx.dll" "$folder64/tarnassoc.exe" "$folder64/tarnctx-menu.msix" "$folder32/tarnctx.dll"; do
  [ -f "$file" ] || fail "not installed: $file"
done
[ "$(installed_versions)" = 1 ] || fail "Programs and Features should list the package once"
wine reg query "$options" /v ExeName >/dev/null || fail "the upgrade lost the suite's options"
wine reg query "$handler" /ve | grep -qF "$class" || fail "the handler entry does not name $class"
wine reg query "$approved" /v "$class" >/dev/null || fail "the class is not approved"

# The package's class entries are the library's own --------------------------------------------------------
# Each view names its own library by its short path (Wine hashes short names); otherwise the views are the same.
library_of() { wine winepath -u "$(sed -n 's/^    (Default)    REG_SZ    \(.*tarnctx\.dll\)$/\1/p' <<<"$1")"; }
without_library() { sed 's/^\(    (Default)    REG_SZ    \).*tarnctx\.dll$/\1LIBRARY/' <<<"$1"; }
entries64=$(class_entries 64) entries32=$(class_entries 32)
[ "$(realpath "$(library_of "$entries64")")" = "$(realpath "$folder64/tarnctx.dll")" ] ||
  fail "the 64-bit view does not name the 64-bit library: $entries64"
[ "$(realpath "$(library_of "$entries32")")" = "$(realpath "$folder32/tarnctx.dll")" ] ||
  fail "the 32-bit view does not name the 32-bit library: $entries32"
[ "$(without_library "$entries64")" = "$(without_library "$entries32")" ] || fail "the two views' entries differ"
wine regsvr32 /s /u 'C:\Program Files\Tarnwick context menu\tarnctx.dll'
class_entries 64 >/dev/null && fail "regsvr32 /u left the class"
wine regsvr32 /s 'C:\Program Files\Tarnwick context menu\tarnctx.dll'
registered=$(class_entries 64)
[ "$registered" = "$entries64" ] || fail "regsvr32 writes other entries:"$'\n'"$registered"$'\n'"package:"$'\n'"$entries64"

# A right-click on the installed library, and its command -----------------------------------------------
menu=$(host "${samples[@]}")
grep -qF "Handler $class from HKCR\\*\\shellex\\ContextMenuHandlers\\Tarnwick" <<<"$menu" &&
  grep -q 'Hide in this carrier' <<<"$menu" || fail "no Tarnwick menu from the installed library: $menu"
launch=$(host --invoke Tarnwick/Encrypt... "${samples[@]}")
grep -qF 'command line  [C:\suite\main.exe /e "C:\samples\holiday.bmp" "C:\samples\report.docx" ]' <<<"$launch" ||
  fail "the command did not reach the main application: $launch"

# A downgrade is refused, with the package's message (Wine's log leaves it out) ------------------------
msiexec downgrade /i "$(wine winepath -w "$old")"
status=$?
[ "$status" = 1603 ] || [ "$status" = $((1603 % 256)) ] || fail "the older package's install over the newer one ended $status"
# grep reads the whole export: stopping at the match would fail msiinfo's write and so, with pipefail, the test.
msiinfo export "$old" LaunchCondition | grep 'A newer version of the Tarnwick context menu is already installed' >/dev/null ||
  fail "the package has no message for a refused downgrade"
[ -f "$folder64/tarnctx.dll" ] && [ "$(installed_versions)" = 1 ] || fail "the refused downgrade changed the install"

# A rebuilt package of the same version replaces the installed one.
same=$("$root/tools/make-installer.sh" x64 "$scratch/same") || fail "cannot build the package again"
msiexec reinstall /i "$(wine winepath -w "$same")" || fail "the rebuilt package did not install (exit $?)"
[ "$(installed_versions)" = 1 ] || fail "the rebuilt package stands beside the installed one"
package=$same

# Uninstall -----------------------------------------------------------------------------------------------
foreign='{0F0F0F0F-1111-2222-3333-444444444444}'
wine reg add "$handler" /ve /d "$foreign" /f >/dev/null
msiexec uninstall /x "$(wine winepath -w "$package")" || fail "the package did not uninstall (exit $?)"
[ ! -e "$folder64" ] && [ ! -e "$folder32" ] || fail "files are left: $(find "$folder64" "$folder32" 2>/dev/null)"
class_entries 64 >/dev/null && fail "the class is left in the 64-bit view"
class_entries 32 >/dev/null && fail "the class is left in the 32-bit view"
[ "$(installed_versions)" = 0 ] || fail "Programs and Features still lists the package"
wine reg query "$approved" /v "$class" >/dev/null && fail "the approval is left"
wine reg query "$options" /v ExeName >/dev/null || fail "the uninstall removed the suite's options"
wine reg query "$handler" /ve | grep -qF "$foreign" || fail "the uninstall removed another class's handler entry"
wine reg add 'HKCR\*\shellex\ContextMenuHandlers\TarnctxCheck' /ve /d "$class" /f >/dev/null
host "${samples[@]}" >/dev/null
[ $? = 5 ] || fail "the class can still be created after the uninstall"

# On Windows 11 the package is added instead; Wine's PowerShell does nothing, so tarnassoc cannot confirm it, and
# the install must fail and leave nothing behind ----------------------------------------------------------------
version_key='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
wine reg delete "$version_key" /v CSDVersion /f >/dev/null
wine reg add "$version_key" /v CurrentVersion /d 6.3 /f >/dev/null
wine reg add "$version_key" /v CurrentBuildNumber /d 22000 /f >/dev/null
msiexec windows11 /i "$(wine winepath -w "$package")" >"$work/windows11.out"
status=$?
[ "$status" = 1627 ] || [ "$status" = $((1627 % 256)) ] || fail "an unconfirmed package did not fail the install ($status)"
grep -q 'Add-AppxPackage' "$work/windows11.out" || fail "the install on Windows 11 did not add the package"
[ ! -e "$folder64" ] && [ "$(installed_versions)" = 0 ] && ! class_entries 64 >/dev/null ||
  fail "the failed install left files, keys or its entry"

[ "$failed" = 0 ] && echo "install, upgrade, downgrade refusal, uninstall, and the rolled-back install on Windows 11: passed"
exit "$failed"
