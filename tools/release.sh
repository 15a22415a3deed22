#!/usr/bin/env bash
# Writes the release folder: the Windows Installer packages and the Windows 11 menu's packages of every
# architecture built, SHA256SUMS, and winget's manifests for Velmora.Tarnwick as winget's repository lays them
# out. It builds first (tools/build.sh). A folder that must not be published says why in NOT-PUBLISHABLE: no
# release address (TARNCTX_RELEASE_URL), an architecture missing, a file not signed by the build's certificate,
# or the test certificate.
# Usage: release.sh [--no-build] [--out FOLDER]    (default build/release)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out=build/release build=1
while [ $# -gt 0 ]; do
  case $1 in
    --no-build) build=0 ;;
    --out) out=$2; shift ;;
    *) echo "usage: release.sh [--no-build] [--out FOLDER]" >&2; exit 2 ;;
  esac
  shift
done
[ "$build" = 0 ] || tools/build.sh

version=$(sed -n 's/^FILEVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/\1.\2.\3.\4/p' res/version.rc)
identifier=Velmora.Tarnwick
{ read -r cert; read -r key; } <build/x64/signing-identity
rm -rf "$out"
mkdir -p "$out"
reasons=()
not_publishable() { reasons+=("$1"); }

# The packages, each checked against the build's certificate before it goes in.
signed() { osslsigncode verify -in "$1" -CAfile "$cert" >/dev/null 2>&1; }
installers=()
for arch in x86 x64 arm64; do
  msi=build/installer/tarnctx-$version-$arch.msi
  if [ ! -f "$msi" ]; then
    if [ "$arch" = arm64 ]; then
      not_publishable "No arm64 package ($msi is missing): the release covers x86 and x64 only."
      continue
    fi
    echo "release: $msi is missing; run tools/build.sh" >&2
    exit 1
  fi
  signed "$msi" || not_publishable "$msi is not signed with $cert."
  cp "$msi" "$out/"
  installers+=("$arch")
  # The menu's package exists for the 64-bit Windows of each processor.
  [ "$arch" = x86 ] && continue
  msix=build/$arch/tarnctx-menu.msix
  if [ ! -f "$msix" ]; then
    not_publishable "No Windows 11 menu package for $arch: $msix is missing."
    continue
  fi
  signed "$msix" || not_publishable "$msix is not signed with $cert."
  cp "$msix" "$out/tarnctx-menu-$version-$arch.msix"
done
(cd "$out" && sha256sum -- *.msi *.msix >SHA256SUMS)

# Only a certificate that Windows trusts makes a publishable release.
if [ "$cert" = "$root/build/signing/test-certificate.pem" ]; then
  not_publishable "Signed with the test certificate ($cert): configure a fresh build with TARNCTX_SIGN_CERT and TARNCTX_SIGN_KEY."
fi
base=${TARNCTX_RELEASE_URL:-}
if [ -z "$base" ]; then
  not_publishable "No release address: set TARNCTX_RELEASE_URL to the https address the packages will be downloaded from; the manifests have no InstallerUrl."
fi

# winget's manifests, in the repository's layout.
manifests=$out/manifests/v/Velmora/Tarnwick/$version
mkdir -p "$manifests"
schema=https://aka.ms/winget-manifest
header() {
  echo "# yaml-language-server: \$schema=$schema.$1.1.10.0.schema.json"
  echo "PackageIdentifier: $identifier"
  echo "PackageVersion: \"$version\""
}
footer() { echo "ManifestType: $1"; echo "ManifestVersion: 1.10.0"; }
{
  header version
  echo "DefaultLocale: en-US"
  footer version
} >"$manifests/$identifier.yaml"
property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v name="$2" '$1 == name { print $2 }'; }
{
  header installer
  echo "InstallerType: wix"
  echo "Scope: machine"
  echo "Installers:"
  for arch in "${installers[@]}"; do
    file=tarnctx-$version-$arch.msi
    echo "- Architecture: $arch"
    [ -z "$base" ] || echo "  InstallerUrl: ${base%/}/$file"
    echo "  InstallerSha256: $(sha256sum "$out/$file" | cut -d' ' -f1 | tr a-f A-F)"
    echo "  ProductCode: \"$(property "$out/$file" ProductCode)\""
    echo "  AppsAndFeaturesEntries:"
    echo "  - UpgradeCode: \"$(property "$out/$file" UpgradeCode)\""
  done
  footer installer
} >"$manifests/$identifier.installer.yaml"
{
  header defaultLocale
  echo "PackageLocale: en-US"
  echo "Publisher: Velmora"
  echo "PackageName: Tarnwick context menu"
  echo "License: Proprietary"
  echo "ShortDescription: \"The Tarnwick submenu in Explorer's context menu for files: hide, unhide, encrypt, decrypt and shred.\""
  echo "Tags:"
  echo "- context-menu"
  echo "- encryption"
  echo "- shell-extension"
  footer defaultLocale
} >"$manifests/$identifier.locale.en-US.yaml"

echo "Release folder $out for $identifier $version: ${installers[*]} packages, $(cd "$out" && ls -- *.msix | tr '\n' ' ')SHA256SUMS, manifests in ${manifests#"$out/"}"
if [ ${#reasons[@]} -gt 0 ]; then
  printf '%s\n' "${reasons[@]}" >"$out/NOT-PUBLISHABLE"
  echo "NOT PUBLISHABLE (written to $out/NOT-PUBLISHABLE):"
  printf '  %s\n' "${reasons[@]}"
else
  echo "Publishable: every architecture, signed with $cert, downloads under $base"
fi
