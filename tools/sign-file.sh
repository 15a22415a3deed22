#!/usr/bin/env bash
# Signs programs, libraries and Windows Installer packages in place with an Authenticode signature (SHA-256),
# with the identity a build folder chose (its signing-identity file: certificate, key, timestamp server or an
# empty line). A signature covers the whole file: sign a package only after its last edit.
# Usage: sign-file.sh SIGNING-IDENTITY FILE...
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: sign-file.sh SIGNING-IDENTITY FILE..." >&2; exit 2; }
{ read -r cert; read -r key; read -r timestamp || true; } <"$1"
shift
options=(-h sha256 -certs "$cert" -key "$key" -n "Tarnwick context menu")
[ -z "${timestamp:-}" ] || options+=(-ts "$timestamp")
for file in "$@"; do
  rm -f "$file.signed"
  osslsigncode sign "${options[@]}" -in "$file" -out "$file.signed" >/dev/null
  mv -f "$file.signed" "$file"
done
