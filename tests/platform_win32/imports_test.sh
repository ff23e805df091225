#!/bin/sh
# The command-line program imports only the DLLs it has to: no SHELL32.
#   imports_test.sh <objdump> <program.exe>
set -eu
objdump=$1
program=$2
dlls=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
echo "$program imports:" $dlls
# An empty list means the dump was not read, not that nothing is imported.
echo "$dlls" | grep -qi '^kernel32\.dll$' || { echo "no KERNEL32.dll in the list" >&2; exit 1; }
if echo "$dlls" | grep -qi '^shell32\.dll$'; then
    echo "$program imports SHELL32.dll" >&2
    exit 1
fi
