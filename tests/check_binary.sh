#!/usr/bin/env bash
# The shipped files must run on a bare Windows: a PE32 GUI program that imports system DLLs
# only (the C++ runtime linked in), with ASLR and DEP on, and a library exporting the skin
# entry under its undecorated name.
set -euo pipefail
objdump=$1 exe=$2 dll=$3
headers=$("$objdump" -p "$exe")
grep -q 'Magic.*(PE32)' <<<"$headers" || { echo "not PE32"; exit 1; }
grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || { echo "not a GUI program"; exit 1; }
grep -q DYNAMIC_BASE <<<"$headers" || { echo "no ASLR"; exit 1; }
grep -q NX_COMPAT <<<"$headers" || { echo "no DEP"; exit 1; }
allowed='^(KERNEL32|USER32|GDI32|COMCTL32|WINMM|msvcrt|ADVAPI32|SHELL32)\.dll$'
for file in "$exe" "$dll"; do
  while read -r name; do
    grep -qiE "$allowed" <<<"$name" || { echo "$file imports $name"; exit 1; }
  done < <("$objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p')
done
# Read whole before matching: grep -q stopping early would break objdump's pipe.
exports=$("$objdump" -p "$dll")
grep -qE '\]\s+SkinH_AttachEx$' <<<"$exports" || { echo "SkinH_AttachEx not exported"; exit 1; }
echo "binaries: PE32 GUI, system imports only, ASLR and DEP on, SkinH_AttachEx exported"
