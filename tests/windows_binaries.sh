#!/usr/bin/env bash
# Checks the Windows programs and DLLs of a build:
#   - each needs no DLL but the system's and Velmora's own, so it runs on any
#     Windows without the compiler's runtime beside it;
#   - each Velmora DLL exports exactly the public surface: every C function
#     the public headers mark VELMORA_API, and nothing outside the C
#     functions and the velmora namespace of the C++ headers.
#
#   windows_binaries.sh OBJDUMP BIN_DIR INCLUDE_DIR
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 OBJDUMP BIN_DIR INCLUDE_DIR" >&2; exit 2; }
objdump=$1 bin=$2 include=$3
system='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|OLE32|COMDLG32|msvcrt|api-ms-win-crt-.*)\.dll$'
status=0
shopt -s nocasematch  # objdump gives names as the import tables spell them

for file in "$bin"/*.exe "$bin"/*.dll; do
  [ -e "$file" ] || continue
  while read -r dll; do
    if ! [[ $dll =~ $system || $dll =~ ^velmora-.*\.dll$ ]]; then
      echo "$(basename "$file") needs $dll" >&2
      status=1
    fi
  done < <("$objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p')
done

# The export table's names: the lines after "[Ordinal/Name Pointer] Table".
exports() {
  "$objdump" -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
    sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort
}
for dll in "$bin"/velmora-*.dll; do
  [ -e "$dll" ] || continue
  name=$(basename "$dll" .dll)
  header=$include/velmora/${name#velmora-}.h
  declared=$(grep -h VELMORA_API "$header" | grep -o 'velmora_[a-z0-9_]*(' | tr -d '(' | sort)
  exported=$(exports "$dll")
  missing=$(comm -23 <(echo "$declared") <(echo "$exported" | grep '^velmora_' || true))
  foreign=$(echo "$exported" | grep -Ev '^(velmora_|_ZN7velmora|_ZNK7velmora)' || true)
  [ -z "$missing" ] || { echo "$name.dll does not export: $missing" >&2; status=1; }
  [ -z "$foreign" ] || { echo "$name.dll exports more: $foreign" >&2; status=1; }
  echo "$name.dll: $(echo "$exported" | wc -l) exports"
done
exit $status
