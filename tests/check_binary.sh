#!/usr/bin/env bash
# The shipped files must run on a bare Windows: a PE32 GUI program that imports system DLLs
# only (the C++ runtime linked in), with ASLR and DEP on, and a library exporting the skin
# entry under its undecorated name. They stay small, and a second build of the same sources
# gives the same bytes, the zip included.
# Usage: check_binary.sh OBJDUMP EXE DLL ZIP SOURCE_DIR BUILD_DIR GENERATOR [TOOLCHAIN_FILE]
set -euo pipefail
objdump=$1 exe=$2 dll=$3 zip=$4 source=$5 build=$6 generator=$7 toolchain=${8:-}
headers=$("$objdump" -p "$exe")
grep -q 'Magic.*(PE32)' <<<"$headers" || { echo "not PE32"; exit 1; }
grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || { echo "not a GUI program"; exit 1; }
grep -q DYNAMIC_BASE <<<"$headers" || { echo "no ASLR"; exit 1; }
grep -q NX_COMPAT <<<"$headers" || { echo "no DEP"; exit 1; }
# Imports are resolved before the program can restrict the library search, so each must be a
# known system library (Windows maps those from the system folder only, whatever lies beside
# the program) or comctl32, which the manifest takes from the side-by-side store. Anything
# else (winmm, version, uxtheme, oleacc...) the program loads itself, by its full path.
known='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|msvcrt|OLE32|OLEAUT32|SHLWAPI|COMDLG32|IMM32|RPCRT4|COMCTL32)\.dll$'
for file in "$exe" "$dll"; do
  imports=$("$objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p')
  [ -n "$imports" ] || { echo "$file: no import table read"; exit 1; }
  while read -r name; do
    grep -qiE "$known" <<<"$name" || { echo "$file imports $name, which is no known system library"; exit 1; }
  done <<<"$imports"
done
# The program runs on one thread and controls none: an import of the thread-control calls (a
# thread library linked in) is what heuristic virus scanners score as an injector's.
for file in "$exe" "$dll"; do
  imported=$("$objdump" -p "$file" | grep -oE '\b(SuspendThread|ResumeThread|GetThreadContext|SetThreadContext)\b' || true)
  [ -z "$imported" ] || { echo "$file imports $(echo $imported)"; exit 1; }
done
# Read whole before matching: grep -q stopping early would break objdump's pipe.
exports=$("$objdump" -p "$dll")
grep -qE '\]\s+SkinH_AttachEx$' <<<"$exports" || { echo "SkinH_AttachEx not exported"; exit 1; }
# The library's last resort finds the program's run-time error path by this name.
program_exports=$("$objdump" -p "$exe")
grep -qE '\]\s+PlindarEndWithRuntimeError$' <<<"$program_exports" ||
  { echo "PlindarEndWithRuntimeError not exported by the program"; exit 1; }
echo "binaries: PE32 GUI, known system libraries only, no thread control, ASLR and DEP on, the skin entry and the last resort exported"

# What a user downloads. The limits hold for the toolchain this project installs; sizes are
# the same from build to build, so a step past a limit is a change, not noise.
(cd "$build" && cpack >/dev/null)
for limit in "$exe 118000" "$dll 92000" "$zip 100000"; do
  read -r file most <<<"$limit"
  size=$(stat -c %s "$file")
  [ "$size" -le "$most" ] || { echo "$(basename "$file") is $size bytes, over $most"; exit 1; }
  echo "size: $(basename "$file") $size bytes (at most $most)"
done

# A second build of the shipped files in a folder of its own, compared byte for byte.
again=$(mktemp -d)
trap 'rm -rf "$again"' EXIT
cmake -S "$source" -B "$again" -G "$generator" ${toolchain:+-DCMAKE_TOOLCHAIN_FILE="$toolchain"} \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$again" -j 2 --target Plindar SkinH_VB6 >/dev/null
(cd "$again" && cpack >/dev/null)
for file in "$exe" "$dll" "$zip"; do
  name=$(basename "$file")
  copy=$(find "$again" -maxdepth 2 -name "$name" -not -path '*/_CPack_Packages/*' | head -n 1)
  cmp -s "$file" "$copy" || { echo "$name differs between two builds of the same sources"; exit 1; }
done
echo "reproducible: Plindar.exe, SkinH_VB6.dll and the zip are byte-identical across two builds"
