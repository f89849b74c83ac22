#!/usr/bin/env bash
# Fails when a Windows program imports a DLL outside the system's own: a program that links only
# system DLLs cannot be made to load a planted copy through its import table.
#   check-imports.sh OBJDUMP PROGRAM...
set -euo pipefail
objdump=$1
shift
allowed=" advapi32.dll comctl32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll user32.dll "

if ! command -v "$objdump" >/dev/null; then
    echo "no $objdump: skipped"
    exit 77
fi
status=0
for program in "$@"; do
    if [ ! -f "$program" ]; then
        echo "FAIL: $program is missing"
        status=1
        continue
    fi
    imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
    for dll in $imports; do
        case "$allowed" in
            *" $dll "*) ;;
            *) echo "FAIL: $(basename "$program") imports $dll, which is not a system DLL"; status=1 ;;
        esac
    done
    echo "$(basename "$program"): imports" $imports
done
exit $status
