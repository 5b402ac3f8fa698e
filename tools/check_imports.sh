#!/bin/sh
# Fails unless the Windows program imports nothing but DLLs that every Windows
# installation has: one file, nothing to install beside it.
#   check_imports.sh velbrin.exe
set -eu
allowed='^(kernel32|user32|gdi32|comctl32|advapi32|msvcrt)\.dll$'
dlls=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || { echo "no import table read from $1" >&2; exit 1; }
status=0
for dll in $dlls; do
    if echo "$dll" | grep -Eq "$allowed"; then
        echo "imports $dll"
    else
        echo "imports $dll, which is not part of Windows" >&2
        status=1
    fi
done
exit $status
