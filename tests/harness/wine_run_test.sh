#!/usr/bin/env bash
# scripts/wine-run.sh, with host commands in place of Wine: what it passes
# through, and which ends it starts once more.
#   wine_run_test.sh <scripts/wine-run.sh>
set -u
run=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export KORVANE_RESTART_LOG=$dir/restarts.log
failed=0
check() {  # check <what> <expected> <actual>
  if [ "$2" != "$3" ]; then echo "FAILED: $1: expected [$2], got [$3]"; failed=1; fi
}
lines() { if [ -e "$1" ]; then wc -l <"$1" | tr -d ' '; else echo 0; fi; }
starts() { lines "$dir/starts"; }
restarts() { lines "$KORVANE_RESTART_LOG"; }
# A program that counts its starts in $dir/starts, then runs the given shell text.
prog() { echo "echo x >>'$dir/starts'; $1"; }
reset() { rm -f "$dir/starts" "$KORVANE_RESTART_LOG"; }

reset
out=$("$run" sh -c "$(prog 'echo out; echo err >&2; exit 3')" 2>"$dir/err"); rc=$?
check "output passed through" out "$out"
check "errors passed through" err "$(cat "$dir/err")"
check "status passed through" 3 $rc
check "a failure that speaks is not run again" 1 "$(starts)"

reset
"$run" sh -c "$(prog 'exit 0')"; rc=$?
check "a silent success is not run again" "0 1 0" "$rc $(starts) $(restarts)"

reset
"$run" sh -c "$(prog 'echo err >&2; exit 4')" 2>/dev/null; rc=$?
check "a failure on standard error only is not run again" "4 1" "$rc $(starts)"

reset
out=$("$run" sh -c "$(prog '[ $(wc -l <'"$dir"'/starts) -gt 1 ] && { echo second; exit 0; }; exit 5')" 2>"$dir/err"); rc=$?
check "a silent failure is started once more" "0 2 1" "$rc $(starts) $(restarts)"
check "the second start's output" second "$out"
grep -q "ended with status 5 before writing anything" "$dir/err" ||
  { echo "FAILED: the restart is not said on standard error"; failed=1; }

reset
"$run" sh -c "$(prog 'exit 6')" 2>/dev/null; rc=$?
check "a program silent twice fails with its status, started twice only" "6 2 1" "$rc $(starts) $(restarts)"

[ $failed = 0 ] && echo "wine-run: all checks passed"
exit $failed
