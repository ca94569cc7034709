#!/usr/bin/env bash
# Builds both targets and runs the whole test suite under Wine on virtual
# displays: the tests of the i686 release (the program that ships on the CD)
# under 32-bit Wine, and those of the x86_64 twin. The two suites run side by
# side, each with its own display, Wine prefix and wineserver.
#   scripts/test.sh [ctest arguments...]     e.g. scripts/test.sh -R Registry
# ONLY=win32 or ONLY=win64 runs one suite.
# Unit tests run once; the end-to-end tests (label e2e), which wait on a real
# pointer, real painting and a real audio device, get one retry. A test
# program that Wine ends before it writes a word is started once more
# (scripts/wine-run.sh), and the summary lists it.
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

run_suite() {  # run_suite <preset> [ctest arguments...]; run in a subshell
  local preset=$1 rc=0
  shift
  trap wine_env_down EXIT
  wine_env_up "$PWD/build/$preset/wine"
  export KORVANE_RESTART_LOG
  KORVANE_RESTART_LOG=$(restart_log "$preset")
  rm -f "$KORVANE_RESTART_LOG"
  local ctest=(ctest --test-dir "build/$preset" --output-on-failure -j 1 --timeout 300)
  "${ctest[@]}" -LE e2e "$@" || rc=1
  "${ctest[@]}" -L e2e --repeat until-pass:2 "$@" || rc=1
  return $rc
}

declare -A pid result
start=$SECONDS
for preset in "${suites[@]}"; do
  if [ "$preset" = win32 ] && ! can_run_32; then
    result[$preset]="SKIPPED: $WHY_NO_32"
    echo "[win32] i686 release tests SKIPPED: $WHY_NO_32"
    continue
  fi
  ( run_suite "$preset" "$@" ) 2>&1 | sed -u "s/^/[$preset] /" &
  pid[$preset]=$!
done
status=0
for preset in "${!pid[@]}"; do
  if wait "${pid[$preset]}"; then result[$preset]="passed"; else result[$preset]="FAILED"; status=1; fi
done
echo
echo "Test suites ($(( (SECONDS - start) / 60 )) min $(( (SECONDS - start) % 60 )) s):"
for preset in "${suites[@]}"; do
  case $preset in
    win32) what="i686 release (build/win32) under 32-bit Wine" ;;
    win64) what="x86_64 twin (build/win64) under 64-bit Wine" ;;
  esac
  echo "  $what: ${result[$preset]}"
  restarts=$(restart_log "$preset")
  if [ -s "$restarts" ]; then
    echo "    test programs that Wine ended before they wrote anything, started once more:"
    sed 's/^/      /' "$restarts"
  fi
done
exit $status
