#!/usr/bin/env bash
# Proves the test kit as a person with Windows would use it: unpacks the zip
# into a fresh folder and runs its run-tests.cmd through Wine's cmd, from
# another folder, on a new Wine prefix and virtual display of its own.
# Usage: prove_kit.sh KIT.ZIP SOURCE-DIR
set -uo pipefail
kit_zip=$1
source_dir=$2

work=$(mktemp -d "${TMPDIR:-/tmp}/quillet-kit.XXXXXX") || exit 1
python3 -m zipfile -e "$kit_zip" "$work/kit" || exit 1
echo "unpacked: $(ls "$work/kit" | tr '\n' ' ')"

. "$source_dir/scripts/wine-session"
wine_session_start "$work" || exit 1
trap 'wine_session_stop; rm -rf "$work"' EXIT

cd "$work"
wine cmd /c "Z:${work//\//\\}\\kit\\run-tests.cmd"
status=$?
echo "run-tests.cmd exited with $status"
exit $status
