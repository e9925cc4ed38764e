#!/usr/bin/env bash
# Builds Quillet.exe twice from copies of the same source tree at two
# different paths, each in its own fresh build directory, and fails unless
# the two executables are byte for byte the same.
# Usage: reproducible_build.sh SOURCE-DIR
set -uo pipefail
source_dir=$(cd "$1" && pwd) || exit 1
work=$(mktemp -d "${TMPDIR:-/tmp}/quillet-repro.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT

# One snapshot for both copies, so that both build the very same files.
tar -C "$source_dir" --exclude=./build --exclude=./.git -cf "$work/source.tar" . || exit 1

build_copy() {
  local root=$1
  mkdir -p "$root/src" || return 1
  tar -C "$root/src" -xf "$work/source.tar" || return 1
  cmake -S "$root/src" -B "$root/build" --toolchain "$root/src/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel -DQUILLET_BUILD_TESTS=OFF >"$root/configure.log" 2>&1 &&
    cmake --build "$root/build" --target Quillet -j2 >"$root/build.log" 2>&1 ||
    { echo "build in $root failed:"; tail -20 "$root/configure.log" "$root/build.log"; return 1; }
}

first="$work/one"
second="$work/second-tree-elsewhere"
build_copy "$first" || exit 1
build_copy "$second" || exit 1

if cmp "$first/build/Quillet.exe" "$second/build/Quillet.exe"; then
  echo "ok: both builds give the same $(stat -c %s "$first/build/Quillet.exe") bytes," \
       "sha256 $(sha256sum <"$first/build/Quillet.exe" | cut -d' ' -f1)"
else
  echo "FAIL: the two builds differ"
  exit 1
fi
