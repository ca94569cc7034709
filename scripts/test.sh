#!/usr/bin/env bash
# Builds both targets and runs the whole test suite under Wine on virtual
# displays: the tests of the i686 release (the program that ships on the CD)
# under 32-bit Wine, and those of the x86_64 twin. The two suites run side by
# side, each with its own display, Wine prefix and wineserver.
#   scripts/test.sh [ctest arguments...]     e.g. scripts/test.sh -R Registry
# ONLY=win32 or ONLY=win64 runs one suite.
# Where the kernel runs no 32-bit program, the release runs under QEMU's
# user-mode emulator (scripts/deps.sh sets it up), and the summary says so.
# Every test program runs whole, in one start (ctest names the programs; the
# output names each case). Unit programs run once; the end-to-end ones (label
# e2e), which wait on a real pointer, real painting and a real audio device,
# start once more for the cases that did not pass (scripts/gtest-retry.sh);
# the summary lists every case that passed only then. A test program that
# Wine ends before it writes a word is started once more
# (scripts/wine-run.sh), and the summary lists it too.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
source scripts/wine-env.sh

suites=(win32 win64)
[ -n "${ONLY:-}" ] && suites=("$ONLY")
# KORVANE_CI=1 (.ci/run) configures with the CI presets: warnings are errors.
for preset in "${suites[@]}"; do
  cmake --preset "${KORVANE_CI:+ci-}$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
done

restart_log() { echo "$PWD/build/$1/wine/restarts.log"; }  # restart_log <preset>
retry_log() { echo "$PWD/build/$1/wine/retried.log"; }      # retry_log <preset>
failed_log() { echo "$PWD/build/$1/wine/failed.log"; }      # failed_log <preset>

# The tests that ctest's closing list names as failed, with how they failed.
failed_tests() {
  awk '/^The following tests FAILED:/ { on = 1; next }
       on && /^[ \t]+[0-9]+ - / { sub(/^[ \t]+[0-9]+ - /, ""); print; next }
       { on = 0 }'
}

# The gtest lines of the ctest run just made, each after the name of its
# ctest test: a case's result ("[       OK ] Suite.Case (3 ms)", FAILED, SKIPPED)
# and gtest-retry.sh's word on a retry, from ctest's log of the run.
case_lines() {  # case_lines <build dir>
  awk '/^[0-9]+\/[0-9]+ Test: / { test = $3 }
       /^\[ +(OK|FAILED|SKIPPED) +\] [^ ]+.* \([0-9]+ ms\)$/ || /^(passed on its retry|failed on its retry too): / {
         print test ": " $0
       }' "$1/Testing/Temporary/LastTest.log" 2>/dev/null || true
}

# The cases that failed for good: in a unit program, which runs once, or on
# their retry too; and those that passed on their retry.
failed_cases() {  # failed_cases <unit case lines> <e2e case lines>
  sed -n 's/^\([^ ]*\): \[  FAILED  \] \([^ ,]*\).*/\1: \2 (Failed)/p' "$1"
  sed -n 's/^\([^ ]*\): failed on its retry too: \(.*\)/\1: \2 (Failed twice)/p' "$2"
}
retried_cases() { sed -n 's/^\([^ ]*\): passed on its retry: \(.*\)/\1: \2/p' "$1"; }

run_suite() {  # run_suite <preset> [ctest arguments...]; run in a subshell
  local preset=$1 rc=0
  shift
  trap wine_env_down EXIT
  wine_env_up "$PWD/build/$preset/wine"
  export KORVANE_RESTART_LOG
  KORVANE_RESTART_LOG=$(restart_log "$preset")
  local ctest=(ctest --test-dir "build/$preset" --output-on-failure -j 1 --timeout 300)
  local log=build/$preset/wine
  "${ctest[@]}" -LE e2e "$@" | tee "$log/unit.log" || rc=1
  case_lines "build/$preset" | tee "$log/unit.cases"
  "${ctest[@]}" -L e2e "$@" | tee "$log/e2e.log" || rc=1
  case_lines "build/$preset" | tee "$log/e2e.cases"
  retried_cases "$log/e2e.cases" >"$(retry_log "$preset")"
  { cat "$log/unit.log" "$log/e2e.log" | failed_tests; failed_cases "$log/unit.cases" "$log/e2e.cases"; } \
    >"$(failed_log "$preset")"
  return $rc
}

declare -A pid result skipped
start=$SECONDS
for preset in "${suites[@]}"; do
  rm -f "$(restart_log "$preset")" "$(retry_log "$preset")" "$(failed_log "$preset")"
  if [ "$preset" = win32 ] && ! can_run_32; then
    # What needs no Wine still reads the release: its imports, its header, the CD.
    skipped[$preset]=$WHY_NO_32
    echo "[win32] i686 release tests under Wine SKIPPED: $WHY_NO_32; its checks that run no Wine follow"
    KORVANE_NO_WINE=1 ctest --test-dir build/win32 --output-on-failure -j 1 -L host "$@" 2>&1 |
      sed -u "s/^/[$preset] /" &
    pid[$preset]=$!
    continue
  fi
  ( run_suite "$preset" "$@" ) 2>&1 | sed -u "s/^/[$preset] /" &
  pid[$preset]=$!
done
status=0
for preset in "${!pid[@]}"; do
  if wait "${pid[$preset]}"; then result[$preset]="passed"; else result[$preset]="FAILED"; status=1; fi
  [ -z "${skipped[$preset]:-}" ] ||
    result[$preset]="SKIPPED: ${skipped[$preset]} (its checks that run no Wine: ${result[$preset]})"
done
echo
echo "Test suites ($(( (SECONDS - start) / 60 )) min $(( (SECONDS - start) % 60 )) s):"
for preset in "${suites[@]}"; do
  case $preset in
    win32) what="i686 release (build/win32) under 32-bit Wine, $(how_i386_runs)" ;;
    win64) what="x86_64 twin (build/win64) under 64-bit Wine" ;;
  esac
  echo "  $what: ${result[$preset]}"
  restarts=$(restart_log "$preset") retried=$(retry_log "$preset") failed=$(failed_log "$preset")
  if [ -s "$failed" ]; then
    echo "    tests that failed:"
    sed 's/^/      /' "$failed"
  fi
  if [ -s "$retried" ]; then
    echo "    end-to-end cases that failed once and passed on their retry:"
    sed 's/^/      /' "$retried"
  fi
  if [ -s "$restarts" ]; then
    echo "    test programs that Wine ended before they wrote anything, started once more:"
    sed 's/^/      /' "$restarts"
  fi
done
exit $status
