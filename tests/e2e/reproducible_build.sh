#!/usr/bin/env bash
# Builds Quillet.exe twice with the release preset, from copies of the same
# source tree at two different paths, each in its own fresh build directory,
# and fails unless the two, and the one the tests ran, are byte for byte the
# same. Usage: reproducible_build.sh SOURCE-DIR TESTED-QUILLET.EXE
set -uo pipefail
source_dir=$(cd "$1" && pwd) || exit 1
tested=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/quillet-repro.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT

# One snapshot for both copies, so that both build the very same files.
tar -C "$source_dir" --exclude=./build --exclude=./.git -cf "$work/source.tar" . || exit 1

build_copy() {
  local root=$1
  mkdir -p "$root/src" || return 1
  tar -C "$root/src" -xf "$work/source.tar" || return 1
  (cd "$root/src" && cmake --preset release -B "$root/build" >"$root/configure.log" 2>&1) &&
    cmake --build "$root/build" --target Quillet -j2 >"$root/build.log" 2>&1 ||
    { echo "build in $root failed:"; tail -20 "$root/configure.log" "$root/build.log"; return 1; }
}

first="$work/one"
second="$work/second-tree-elsewhere"
build_copy "$first" || exit 1
build_copy "$second" || exit 1

status=0
for other in "$second/build/Quillet.exe" "$tested"; do
  if cmp "$first/build/Quillet.exe" "$other"; then
    echo "ok: $other is the same $(stat -c %s "$other") bytes," \
         "sha256 $(sha256sum <"$other" | cut -d' ' -f1)"
  else
    echo "FAIL: $other differs from a clean release build"
    status=1
  fi
done
exit $status
