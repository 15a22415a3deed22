#!/usr/bin/env bash
# Builds the Windows Installer package of one architecture (x64, arm64 or x86): OUTDIR/tarnctx-VERSION-ARCH.msi, from
# installer/tarnctx.wxs (or another source given) and the build folders. The version is the library's
# version resource's unless one is given. The class entries come from the 64-bit library's own registration,
# run under Wine (tools/classrows). wixl drops what it does not support with no more than a warning: any
# warning fails the build. The package is signed last, with the build's signing identity: a signature covers
# the whole file, and the libraries inside were signed when they were linked.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=$1 out=$2
version=${3:-$(sed -n 's/^FILEVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/\1.\2.\3.\4/p' \
               "$root/res/version.rc")}
source=${4:-$root/installer/tarnctx.wxs}
mkdir -p "$out"
out=$(cd "$out" && pwd)
rows=$out/ClassRows.wxi
# Once for both packages: each start of Wine costs a second or more.
classrows=$root/build/x64/tools/classrows.exe library=$root/build/x64/tarnctx.dll
if [ ! "$rows" -nt "$library" ] || [ ! "$rows" -nt "$classrows" ]; then
  "$root/tools/wine-run" "$root/build/x64/wineprefix" "$classrows" "$library" "$rows"
fi
package=$out/tarnctx-$version-$arch.msi
# wixl knows no ARM64: that package is built as an x64 one from the ARM64 build, and named Arm64 below.
wixl_arch=$arch bin64=x64
[ "$arch" = arm64 ] && wixl_arch=x64 bin64=arm64
# wixl takes file sources relative to its current folder, and includes from its include folders, by relative names.
warnings=$(cd "$root/build" && wixl -a "$wixl_arch" -D Arch="$arch" -D Version="$version" -D Bin64="$bin64" -D Bin32=x86 \
             -I "$out" -D ClassRows=ClassRows.wxi -o "$package" "$source" 2>&1 >/dev/null) || true
if [ -n "$warnings" ] || [ ! -s "$package" ]; then
  echo "make-installer: wixl did not build $package cleanly:" >&2
  echo "$warnings" >&2
  rm -f "$package"
  exit 1
fi
# A package of the same version replaces an installed one (a rebuilt one has another product code), as
# WiX's AllowSameVersionUpgrades does; wixl knows no such attribute, and the attributes are part of the row's
# key: the row is replaced. 513: features migrate, the maximum included.
upgrade_code=$(sed -n 's/.*UpgradeCode="\([^"]*\)".*/\1/p' "$source")
msibuild "$package" -q "DELETE FROM \`Upgrade\` WHERE \`Attributes\` = 1"
msibuild "$package" -q "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMax\`, \`Attributes\`, \`ActionProperty\`)
  VALUES ('{$upgrade_code}', '$version', 513, 'WIX_UPGRADE_DETECTED')"
# The platform Windows Installer checks (Arm64 needs schema 500, which InstallerVersion gives); msibuild sets the
# subject, author, template and package code together, so the other three are written back as they are.
if [ "$arch" = arm64 ]; then
  summary() { msiinfo suminfo "$package" | sed -n "s/^$1: //p"; }
  msibuild "$package" -s "$(summary Subject)" "$(summary Author)" "Arm64;1033" "$(summary 'Revision number (UUID)')"
  [ "$(summary Template)" = "Arm64;1033" ] && [ "$(summary Version | cut -d' ' -f1)" -ge 500 ] ||
    { echo "make-installer: $package is not marked Arm64 with schema 500 or later" >&2; rm -f "$package"; exit 1; }
fi
# Signed after the last edit: a signature covers the whole file.
"$root/tools/sign-file.sh" "$root/build/x64/signing-identity" "$package"
echo "$package"
