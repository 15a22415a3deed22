#!/usr/bin/env bash
# Checks a built tarnctx.dll's machine type and its export and import tables: the four entry points,
# undecorated, at their ordinals, and imports from system DLLs only (the C and C++ runtimes are linked in).
# OBJDUMP is GNU objdump for the MinGW-w64 builds or llvm-objdump for ARM64, which binutils cannot read.
# Usage: check-tables.sh OBJDUMP DLL MACHINE   (MACHINE: the PE machine type in hex: 14c, 8664 or aa64)
set -uo pipefail
objdump=$1 dll=$2 expected_machine=$3
[ -f "$dll" ] || { echo "no such file: $dll"; exit 1; }
tables=$("$objdump" -p "$dll")
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# The machine field follows the "PE\0\0" signature, whose offset is at 0x3c.
signature_at=$(od -An -tu4 -j60 -N4 "$dll" | tr -d ' ')
machine=$(od -An -tx2 -j$((signature_at + 4)) -N2 "$dll" | tr -d ' ' | sed 's/^0*//')
[ "$machine" = "$expected_machine" ] || fail "machine type is ${machine:-unreadable}, not $expected_machine"

# Each lists exports with ordinals; these lines become "ordinal-minus-base name".
if grep -q '^Export Table:' <<<"$tables"; then  # llvm-objdump
  grep -Eq "^ DLL name: tarnctx\.dll$" <<<"$tables" || fail "export table does not name tarnctx.dll"
  grep -Eq "^ Ordinal base: 1$" <<<"$tables" || fail "ordinal base is not 1"
  exports=$(sed -n '/^ Ordinal  *RVA  *Name$/,/^$/p' <<<"$tables" | awk 'NR > 1 && NF == 3 {print $1 - 1, $3}')
else  # GNU objdump, which already gives the ordinal minus the base
  grep -Eq "^Name[[:space:]]+[0-9a-f]+ tarnctx\.dll$" <<<"$tables" || fail "export table does not name tarnctx.dll"
  grep -Eq "^Ordinal Base[[:space:]]+1$" <<<"$tables" || fail "ordinal base is not 1"
  exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$tables" | grep -E '^\s+\[' |
            sed -E 's/^\s*\[\s*([0-9]+)\] /\1 /')
fi
expected=$'0 DllUnregisterServer\n1 DllRegisterServer\n2 DllCanUnloadNow\n3 DllGetClassObject'
[ "$(sort -n <<<"$exports")" = "$expected" ] || fail "exports are not the four entry points at ordinals 1 to 4:"$'\n'"$exports"

allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|api-ms-win-[a-z0-9-]+|msvcrt)\.dll$'
while read -r name; do
  grep -Eiq "$allowed" <<<"$name" || fail "imports a non-system DLL: $name"
done < <(grep -E "^\s*DLL Name:" <<<"$tables" | awk '{print $3}')

[ $failed -eq 0 ] && echo "OK: $dll"
exit $failed
