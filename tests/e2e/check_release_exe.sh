#!/usr/bin/env bash
# Fails when Quillet.exe is larger than 256 KiB or imports a DLL that is not
# part of Windows itself. Usage: check_footprint.sh QUILLET.EXE OBJDUMP
set -uo pipefail
exe=$1
objdump=${2:-x86_64-w64-mingw32-objdump}
limit=$((256 * 1024))
allowed="kernel32.dll user32.dll gdi32.dll comctl32.dll msvcrt.dll advapi32.dll"

status=0
size=$(stat -c %s "$exe") || exit 1
if [ "$size" -le "$limit" ]; then
  echo "ok: size $size bytes, at most $limit"
else
  echo "FAIL: size $size bytes, more than $limit"
  status=1
fi

dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' | tr -d '\r' | tr 'A-Z' 'a-z')
if [ -z "$dlls" ]; then
  echo "FAIL: no import table found"
  exit 1
fi
for dll in $dlls; do
  if [[ " $allowed " == *" $dll "* ]]; then
    echo "ok: imports $dll"
  else
    echo "FAIL: imports $dll, which is not a system DLL on the allow list"
    status=1
  fi
done
exit $status
