#!/usr/bin/env bash
# Checks a built tarnctx.dll's export and import tables: the four entry points, undecorated, at their
# ordinals, and imports from system DLLs only (the C and C++ runtimes are linked in).
# Usage: check-tables.sh OBJDUMP DLL
set -uo pipefail
objdump=$1 dll=$2
[ -f "$dll" ] || { echo "no such file: $dll"; exit 1; }
tables=$("$objdump" -p "$dll")
failed=0
fail() { echo "FAIL: $*"; failed=1; }

grep -Eq "^Name[[:space:]]+[0-9a-f]+ tarnctx\.dll$" <<<"$tables" || fail "export table does not name tarnctx.dll"
grep -Eq "^Ordinal Base[[:space:]]+1$" <<<"$tables" || fail "ordinal base is not 1"

exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$tables" | grep -E '^\s+\[' | sed -E 's/^\s*\[\s*([0-9]+)\] /\1 /')
# objdump lists names with their ordinal minus the base.
expected=$'0 DllUnregisterServer\n1 DllRegisterServer\n2 DllCanUnloadNow\n3 DllGetClassObject'
[ "$(sort -n <<<"$exports")" = "$expected" ] || fail "exports are not the four entry points at ordinals 1 to 4:"$'\n'"$exports"

allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|api-ms-win-[a-z0-9-]+|msvcrt)\.dll$'
while read -r name; do
  grep -Eiq "$allowed" <<<"$name" || fail "imports a non-system DLL: $name"
done < <(grep -E "^\s*DLL Name:" <<<"$tables" | awk '{print $3}')

[ $failed -eq 0 ] && echo "OK: $dll"
exit $failed
