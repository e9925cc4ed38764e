#!/usr/bin/env bash
# Builds Quillet.exe twice with the release preset, from copies of the same
# source tree at two different paths, each in its own fresh build directory,
# the second without the linker's map, and fails unless the two, and the one
# the tests ran, are byte for byte the same. Then packs the program's zip and
# bill of materials from the first copy and from the tested build, and fails
# unless those agree byte for byte too.
# Usage: reproducible_build.sh SOURCE-DIR TESTED-QUILLET.EXE
set -uo pipefail
source_dir=$(cd "$1" && pwd) || exit 1
tested=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/quillet-repro.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT

# One snapshot for both copies, so that both build the very same files.
tar -C "$source_dir" --exclude=./build --exclude=./.git -cf "$work/source.tar" . || exit 1

build_copy() {
  local root=$1
  shift
  mkdir -p "$root/src" || return 1
  tar -C "$root/src" -xf "$work/source.tar" || return 1
  if ! (cd "$root/src" && cmake --preset release -B "$root/build" "$@" >"$root/configure.log" 2>&1 &&
    cmake --build "$root/build" --target Quillet -j2 >"$root/build.log" 2>&1); then
    echo "build in $root failed:"
    tail -20 "$root/configure.log" "$root/build.log"
    return 1
  fi
}

first="$work/one"
second="$work/second-tree-elsewhere"
build_copy "$first" || exit 1
build_copy "$second" -DQUILLET_LINK_MAP=OFF || exit 1
if [ ! -s "$first/build/Quillet.exe.map" ] || [ -e "$second/build/Quillet.exe.map" ]; then
  echo "FAIL: the first build must write the linker's map and the second not"
  exit 1
fi

same() {
  if cmp "$1" "$2"; then
    echo "ok: $2 is the same $(stat -c %s "$2") bytes, sha256 $(sha256sum <"$2" | cut -d' ' -f1)"
  else
    echo "FAIL: $2 differs from $1"
    status=1
  fi
}
status=0
for other in "$second/build/Quillet.exe" "$tested"; do
  same "$first/build/Quillet.exe" "$other"
done

zip="Quillet-$("$source_dir/scripts/project-version")-win64"
mkdir -p "$first/package" "$work/tested" || exit 1
(cd "$first/src" && scripts/pack-program "$first/package/$zip.zip" "$first/build/Quillet.exe") &&
  "$source_dir/scripts/pack-program" "$work/tested/$zip.zip" "$tested" || exit 1
for file in "$zip.zip" "$zip.cdx.json"; do
  same "$first/package/$file" "$work/tested/$file"
done
exit $status
