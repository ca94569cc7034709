#!/usr/bin/env bash
# The emulator through which ctest starts a test program under Wine:
#   scripts/wine-run.sh <wine loader> <program.exe> [arguments...]
# Very rarely, a test program under Wine ends before it reaches its test:
# exit status not 0, not a byte written, in a hundredth of a second (seen
# once, on a unit test that cannot fail that way; thousands of starts did
# not show it again). No test ends like that: the test framework writes and
# flushes a line before it runs a test. So such a start is made
# once more, and said: on standard error, and in $KORVANE_RESTART_LOG when
# set, for the summary of the run.
# Everything else, the output and the exit status, is the program's own.
# KORVANE_NO_WINE=1 (scripts/test.sh, where the release cannot run) starts
# nothing: ctest's test discovery then finds no tests in the program, and
# the checks that read the built files run alone.
set -uo pipefail
[ "${KORVANE_NO_WINE:-}" = 1 ] && exit 0

out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
# Standard output and standard error go to files, and then out, once the
# program has ended. Not through pipes: the first window of a program starts
# Wine's desktop process (explorer.exe) when none runs, which inherits the
# program's output and holds it open until it idles out a second later, so
# that whoever reads a pipe would wait that second for every such program.
run() {
  "$@" >"$out" 2>"$err" </dev/null
  rc=$?
  cat "$out"
  cat "$err" >&2
}
run "$@"
if [ "$rc" -ne 0 ] && [ ! -s "$out" ] && [ ! -s "$err" ]; then
  line="$(basename -- "$2") ${*:3}: ended with status $rc before writing anything; started once more"
  echo "wine-run: $line" >&2
  [ -n "${KORVANE_RESTART_LOG:-}" ] && echo "$line" >>"$KORVANE_RESTART_LOG"
  run "$@"
fi
exit "$rc"
