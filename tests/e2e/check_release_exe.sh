#!/usr/bin/env bash
# Checks the built Quillet.exe as users get it: at most 240 KiB; ASLR with
# high entropy and DEP in its PE header; and exactly the imports of the
# committed allow-list, function by function. The PE header and import table
# are read from the file itself (read_pe.py), not from a tool's printout.
# TOOLCHAIN (gcc12, gcc14) picks the allow-list's lines that only that
# compiler's runtime brings in.
# Usage: check_release_exe.sh QUILLET.EXE ALLOW-LIST TOOLCHAIN
set -uo pipefail
[ $# -eq 3 ] || { echo "usage: check_release_exe.sh QUILLET.EXE ALLOW-LIST TOOLCHAIN" >&2; exit 2; }
exe=$1
allow_list=$2
toolchain=$3
limit=$((240 * 1024))

status=0
fail() { echo "FAIL: $*"; status=1; }

size=$(stat -c %s "$exe") || exit 1
if [ "$size" -le "$limit" ]; then
  echo "ok: size $size bytes, at most $limit"
else
  fail "size $size bytes, more than $limit"
fi

pe=$(python3 "$(dirname "$0")/read_pe.py" "$exe") || { fail "cannot read $exe as a PE image"; exit 1; }
characteristics=$(awk '$1 == "dll_characteristics" { print $2 }' <<<"$pe")
# IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA, _DYNAMIC_BASE, _NX_COMPAT
for flag in HIGH_ENTROPY_VA:0x20 DYNAMIC_BASE:0x40 NX_COMPAT:0x100; do
  name=${flag%%:*}
  bit=${flag##*:}
  if (((characteristics & bit) != 0)); then
    echo "ok: $name set (DllCharacteristics $characteristics)"
  else
    fail "$name not set (DllCharacteristics $characteristics)"
  fi
done
# ASLR moves the image only if it can be relocated.
read -r _ reloc_rva reloc_size < <(grep '^base_relocations ' <<<"$pe")
if [ "$reloc_rva" -ne 0 ] && [ "$reloc_size" -ne 0 ]; then
  echo "ok: base relocations present ($reloc_size bytes)"
else
  fail "no base relocation table: ASLR cannot move the image"
fi
# Delay-loaded DLLs are not in the import table the allow-list is held to.
read -r _ delay_rva delay_size < <(grep '^delay_imports ' <<<"$pe")
if [ "$delay_rva" -ne 0 ] || [ "$delay_size" -ne 0 ]; then
  fail "delay-load imports present: the allow-list does not cover them"
fi

# One "dll function" line per import, DLL names in lower case.
imports=$(awk '$1 == "import" { print $2, $3 }' <<<"$pe" | sort -u)
allowed=$(sed -e 's/#.*//' -e 's/[[:space:]]*$//' -e '/^$/d' "$allow_list" |
          awk -v toolchain="$toolchain" 'NF == 2 || $3 == toolchain { print tolower($1), $2 }' | sort -u)
if [ -z "$imports" ]; then
  fail "no import table found"
  exit 1
fi
added=$(comm -23 <(echo "$imports") <(echo "$allowed"))
gone=$(comm -13 <(echo "$imports") <(echo "$allowed"))
[ -z "$added" ] || fail "imports not on the allow-list:"$'\n'"$added"
[ -z "$gone" ] || fail "on the allow-list but no longer imported (take them off):"$'\n'"$gone"
[ -n "$added$gone" ] || echo "ok: the $(wc -l <<<"$imports") imports are exactly the allow-list's for $toolchain"
exit $status
