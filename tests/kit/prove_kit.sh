#!/usr/bin/env bash
# Proves the test kit as a person with Windows would use it: unpacked into a
# folder whose name has spaces and non-Latin letters, run through Wine's cmd
# from another folder, on a new Wine prefix and virtual display, whatever
# the environment of whoever runs it holds. Parts, side by side: "refusals"
# (suites that crash, hang or are missing, a program that is not Quillet,
# Quillet already open, headless), "whole" (every suite, as the desktop is
# found; its output kept in RUN-DIR), "other" (the released Quillet.exe copied
# elsewhere, with --desktop as hosted CI runs it); "suite NAME RUN-DIR" judges
# one suite by what the whole kit's run said of it.
# Usage: prove_kit.sh PART KIT.ZIP SOURCE-DIR RUN-DIR [QUILLET_WINDOW.EXE CRASH HANG LIAR PASS]
set -uo pipefail
if [ "$1" = suite ]; then # the whole part has checked that each log ran all its tests
  cat "$3/logs/$2.txt" && grep -qE "^passed  $2( |$)" "$3/out.txt"
  exit
fi
part=$1 kit_zip=$2 source_dir=$3 run_dir=$4
window_tool=${5:-} crash=${6:-} hang=${7:-} liar=${8:-} pass=${9:-}

work=$(mktemp -d "${TMPDIR:-/tmp}/quillet-kit.XXXXXX") || exit 1
kit="$work/Quillet тест キット"
python3 -m zipfile -e "$kit_zip" "$kit" || exit 1
echo "unpacked: $(ls "$kit" | tr '\n' ' ')"

. "$source_dir/scripts/wine-session"
wine_session_start "$work" || exit 1
trap 'wine_session_stop; rm -rf "$work"' EXIT
cd "$work" || exit 1
# Wine ignores the error mode that the kit gives its suites and starts its
# debugger on a crash, whose dialog would wait as Windows' error reporting
# would without that mode; without the dialog it ends the process at once.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1

# Wine hands these on to cmd: GoogleTest's would have each suite run no test
# (in any case of name) and pass, cmd's would stand in for its exit status.
export GTEST_FILTER=NoSuchTest GTEST_TOTAL_SHARDS=2 GTEST_SHARD_INDEX=1 gtest_repeat=0 \
  TESTBRIDGE_TEST_ONLY=NoSuchTest ERRORLEVEL=0

failures=0
windows_path() { local p=${1//\//\\}; echo "Z:$p"; }

# kit FOLDER ARGS...: runs the kit's run-tests.cmd, for at most $limit
# seconds; its output in $out, its exit status in $status, its time in $seconds.
kit() {
  local folder=$1
  shift
  local started=$SECONDS
  # "call" first: cmd /c strips the outer quotes of a line that starts with one.
  # Into a file, not a pipe: a suite left running must not hold the output open.
  timeout "${limit:-900}" wine cmd /c call "$(windows_path "$folder")\\run-tests.cmd" "$@" \
    </dev/null >"$work/out.txt" 2>&1
  status=$?
  seconds=$((SECONDS - started))
  out=$(tr -d '\r' <"$work/out.txt")
  printf '%s\n' "$out" | sed 's/^/    /'
}
check() { # WHAT EXPECTED-STATUS LINE...: the status, and each line exactly
  local what=$1 expected=$2 line
  shift 2
  local ok=1
  [ "$status" -eq "$expected" ] || { echo "  exit status $status, not $expected"; ok=0; }
  for line in "$@"; do
    grep -qxF -- "$line" <<<"$out" || { echo "  no line: $line"; ok=0; }
  done
  if [ $ok -eq 1 ]; then echo "ok: $what ($seconds s)"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}

case $part in
refusals)
echo "== broken suites, stopped after 20 s"
broken="$work/Stand-in Κιτ 試験"
cp -r "$kit" "$broken"
cp "$crash" "$broken/engine_tests.exe"
cp "$hang" "$broken/window_tests.exe"
rm "$broken/win_main_tests.exe"
cp "$liar" "$broken/resources_tests.exe"
for suite in fatal_path_tests quillet_zone_tests quillet_e2e_tests quillet_leak_tests; do
  cp "$pass" "$broken/$suite.exe"
done
# A log that cannot be made (a folder has its name) is named; its suite runs.
mkdir -p "$work/broken-logs/fatal_path_tests.txt"
limit=180 kit "$broken" --desktop --timeout 20 --logs "$(windows_path "$work")\\broken-logs"
check "each broken suite failed, the rest passed" 1 \
  "FAILED  engine_tests (exit status 0xC0000005, access violation)" \
  "FAILED  window_tests (timed out after 20 s, stopped)" \
  "FAILED  win_main_tests (cannot start: file missing, $(windows_path "$broken")\\win_main_tests.exe)" \
  "FAILED  resources_tests (exit status 0x00000001, tests failed)" \
  "passed  fatal_path_tests (no log: cannot create $(windows_path "$work")\\broken-logs\\fatal_path_tests.txt, error 5)" \
  "passed  quillet_e2e_tests" "4 passed, 4 failed, 0 skipped"
[ "$seconds" -lt 120 ] || { echo "FAIL: the hung suite held the kit for $seconds s"; failures=$((failures + 1)); }
# The hung stand-in started a child; neither may outlive the kit (Wine's
# processes show their Windows command line to ps; Z is an ended one).
left=$(ps -eo stat=,args= | grep -v '^Z' | grep -F "${work##*/}" | grep -c 'window_tests\.exe')
[ "$left" -eq 0 ] || { echo "FAIL: $left processes of the hung suite still run"; failures=$((failures + 1)); }

echo "== not Quillet, or no such file"
kit "$kit" "$(windows_path "$kit")\\key_recorder.exe"
check "a program that is not Quillet is refused" 1 \
  "Not Quillet (its version block does not name it): $(windows_path "$kit")\\key_recorder.exe"
kit "$kit" "$(windows_path "$work")\\nowhere\\Quillet.exe"
check "a path that does not exist is refused" 1 \
  "No such program: $(windows_path "$work")\\nowhere\\Quillet.exe"

echo "== a Quillet window already open"
wine "$kit/Quillet.exe" &
open_quillet=$!
wine "$window_tool" wait 30 >/dev/null || echo "  Quillet's window did not show"
kit "$kit"
check "the kit refuses to run beside Quillet" 1 \
  "Quillet is running: close every Quillet window, then run the tests again."
grep -q '^passed\|^FAILED' <<<"$out" && { echo "FAIL: suites ran beside Quillet"; failures=$((failures + 1)); }
wine "$window_tool" close
wait $open_quillet

echo "== headless, as asked"
kit "$kit" --headless
check "only the suites that need no desktop ran" 0 \
  "passed  engine_tests" "passed  resources_tests" "passed  fatal_path_tests" \
  "skipped quillet_e2e_tests (headless, as asked)" "3 passed, 0 failed, 5 skipped"
;;
whole)
echo "== the whole kit"
rm -rf "$run_dir" && mkdir -p "$run_dir" || exit 1
kit "$kit" --logs "$(windows_path "$run_dir")\\logs"
printf '%s\n' "$out" >"$run_dir/out.txt"
check "every suite passed" 0 "8 passed, 0 failed, 0 skipped"
# Each ran all its tests: no filter, shard or repeat count reached it.
short=$(grep -LE '^\[==========\] [1-9][0-9]* tests? from .* ran\.' "$run_dir"/logs/*.txt)
filtered=$(grep -l '^Note: ' "$run_dir"/logs/*.txt)
[ -z "$short$filtered" ] && [ "$(ls "$run_dir"/logs | wc -l)" -eq 8 ] ||
  { echo "FAIL: not every test ran: ${short}${filtered}"; failures=$((failures + 1)); }
;;
other)
echo "== the released Quillet.exe, copied elsewhere, with --desktop"
other="$work/Другая сборка Ω"
mkdir "$other"
cp "$kit/Quillet.exe" "$other/Quillet.exe"
kit "$kit" --desktop "$(windows_path "$other")\\Quillet.exe"
check "the program-level suites passed it" 0 \
  "passed  win_main_tests" "passed  quillet_e2e_tests" "5 passed, 0 failed, 0 skipped"
;;
*)
  echo "prove_kit: no part $part"
  exit 2
;;
esac

echo "prove_kit: $failures failed"
[ $failures -eq 0 ]
