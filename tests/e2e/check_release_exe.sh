#!/usr/bin/env bash
# Checks the built Quillet.exe as users get it: at most 240 KiB; ASLR with
# high entropy and DEP in its PE header; and exactly the imports of the
# committed allow-list, function by function.
# Usage: check_release_exe.sh QUILLET.EXE OBJDUMP ALLOW-LIST
set -uo pipefail
exe=$1
objdump=$2
allow_list=$3
limit=$((240 * 1024))

status=0
fail() { echo "FAIL: $*"; status=1; }

size=$(stat -c %s "$exe") || exit 1
if [ "$size" -le "$limit" ]; then
  echo "ok: size $size bytes, at most $limit"
else
  fail "size $size bytes, more than $limit"
fi

headers=$("$objdump" -p "$exe") || exit 1
characteristics=$(sed -n 's/^DllCharacteristics[[:space:]]*//p' <<<"$headers")
# IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA, _DYNAMIC_BASE, _NX_COMPAT
for flag in HIGH_ENTROPY_VA:0x20 DYNAMIC_BASE:0x40 NX_COMPAT:0x100; do
  name=${flag%%:*}
  bit=${flag##*:}
  if [ -n "$characteristics" ] && (((0x$characteristics & bit) != 0)); then
    echo "ok: $name set (DllCharacteristics 0x$characteristics)"
  else
    fail "$name not set (DllCharacteristics 0x${characteristics:-missing})"
  fi
done
# ASLR moves the image only if it can be relocated.
if grep -q '^Entry 5 0*[1-9a-f][0-9a-f]* ' <<<"$headers"; then
  echo "ok: base relocations present"
else
  fail "no base relocation table: ASLR cannot move the image"
fi

# One "dll function" line per import, DLL names in lower case.
imports=$(awk -F'\t' '
  /^[[:space:]]*DLL Name:/ { sub(/.*DLL Name: */, ""); dll = tolower($0); next }
  dll != "" && NF >= 3 && $2 ~ /^[0-9a-f]+$/ { split($3, part, " "); print dll, part[2] }
  /^$/ { dll = "" }' <<<"$headers" | sort -u)
allowed=$(sed -e 's/#.*//' -e 's/[[:space:]]*$//' -e '/^$/d' "$allow_list" |
          awk '{ print tolower($1), $2 }' | sort -u)
if [ -z "$imports" ]; then
  fail "no import table found"
  exit 1
fi
added=$(comm -23 <(echo "$imports") <(echo "$allowed"))
gone=$(comm -13 <(echo "$imports") <(echo "$allowed"))
[ -z "$added" ] || fail "imports not on the allow-list:"$'\n'"$added"
[ -z "$gone" ] || fail "on the allow-list but no longer imported (take them off):"$'\n'"$gone"
[ -n "$added$gone" ] || echo "ok: the $(wc -l <<<"$imports") imports are exactly the allow-list's"
exit $status
