#!/usr/bin/env bash
# Checks the Authenticode signatures: each file verifies against the signing certificate, so do the libraries
# and the tool inside each package (signed before packing), and a copy with one byte changed is refused.
# Usage: check-signatures.sh CERT.pem BUILD-FOLDER
#   the library and tarnassoc.exe of x86, x64 and (when built) arm64, and every package in BUILD-FOLDER/installer
set -uo pipefail
cert=$1 build=$2
files=()
for arch in x86 x64 arm64; do
  if [ "$arch" = arm64 ] && [ ! -d "$build/arm64" ]; then echo "no arm64 build: its files are not checked"; continue; fi
  files+=("$build/$arch/tarnctx.dll" "$build/$arch/tarnassoc.exe")
done
files+=("$build"/installer/*.msi)
set -- "${files[@]}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
verify() { osslsigncode verify -in "$1" -CAfile "$cert" >"$work/verify.log" 2>&1; }
expect_verified() { verify "$1" || { echo "FAIL: $2 does not verify:"; cat "$work/verify.log"; failed=1; }; }
for file in "$@"; do
  name=$(basename "$(dirname "$file")")-$(basename "$file")
  expect_verified "$file" "$file"
  changed=$work/changed-$name
  cp "$file" "$changed"
  if [[ $name == *.msi ]]; then
    # An edit after signing, as msibuild makes: one character of the product's version.
    msibuild "$changed" -q "UPDATE \`Property\` SET \`Value\` = '9.9.9.9' WHERE \`Property\` = 'ProductVersion'"
    mkdir "$work/$name.files"
    absolute=$(realpath "$file")
    (cd "$work/$name.files" && msiextract "$absolute" >/dev/null 2>&1) || { echo "FAIL: cannot extract $file"; failed=1; }
    while IFS= read -r -d '' inner; do
      expect_verified "$inner" "${inner#"$work/"} (inside the package)"
    done < <(find "$work/$name.files" \( -name '*.dll' -o -name '*.exe' \) -print0)
    [ -n "$(find "$work/$name.files" -name tarnctx.dll)" ] || { echo "FAIL: no tarnctx.dll in $file"; failed=1; }
  else
    # A byte in the middle of the code, far from the signature at the end.
    offset=$(( $(stat -c %s "$file") / 2 ))
    printf "$(printf '\\x%02x' $(( $(od -An -tu1 -j "$offset" -N1 "$file") ^ 1 )))" |
      dd of="$changed" bs=1 seek="$offset" conv=notrunc status=none
  fi
  cmp -s "$file" "$changed" && { echo "FAIL: the copy of $name was not changed"; failed=1; }
  verify "$changed" && { echo "FAIL: a changed copy of $name still verifies"; failed=1; }
done
[ "$failed" = 0 ] && echo "signatures verified on $# files and the files packed in them; changed copies refused"
exit "$failed"
