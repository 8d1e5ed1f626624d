#!/usr/bin/env bash
# Checks a built TAVO.dll with objdump: its export table names exactly the module's four entry
# points, and it imports nothing but system DLLs (the C runtime and Windows' own libraries; the
# host's engine DLLs are looked up at run time, never imported).
# Usage: check-dll-exports.sh OBJDUMP TAVO.dll     (exit 77: the DLL was not built)
set -euo pipefail
objdump=$1
dll=$2
if [ ! -f "$dll" ]; then
  echo "skipped: $dll is not built"
  exit 77
fi
table=$("$objdump" -p "$dll")

exports=$(echo "$table" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
expected="NewPlugIn WinPlugInClose WinPlugInOpen _PI_GetRoutineDescriptor "
status=0
if [ "$exports" != "$expected" ]; then
  echo "$dll exports: $exports"
  echo "expected exactly: $expected"
  status=1
fi

system='^(kernel32|user32|gdi32|advapi32|shell32|comdlg32|comctl32|ole32|oleaut32|wininet|shlwapi|msimg32|winmm|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
imports=$(echo "$table" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ -n "$imports" ] || { echo "$dll imports nothing (unreadable table?)"; status=1; }
for name in $imports; do
  if ! echo "$name" | tr 'A-Z' 'a-z' | grep -Eq "$system"; then
    echo "$dll imports a non-system DLL: $name"
    status=1
  fi
done
[ $status -eq 0 ] && echo "$dll: exports $exports; imports $(echo $imports)"
exit $status
