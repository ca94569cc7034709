#!/usr/bin/env bash
# Runs a test program that drives the real pointer, screen or sound whole, in
# one start, then the cases that did not pass once more, in a second start:
#   scripts/gtest-retry.sh <emulator...> <program.exe> [--gtest_filter=...]
# A loaded machine fails such a case now and then. A case that passes on its
# retry passes, and is named ("passed on its retry: Suite.Case"), as is one
# that fails twice ("failed on its retry too: Suite.Case"), for the summary
# of scripts/test.sh. A case that the first start never reached (the program
# ended in the middle) counts as failed.
# The exit status is the second start's, or the first's when all passed.
set -uo pipefail
out=$(mktemp) again=$(mktemp)
trap 'rm -f "$out" "$again"' EXIT

# The filter given, split into its positive and negative parts.
cmd=() positive="*" negative=""
for arg in "$@"; do
  case $arg in
    --gtest_filter=*)
      filter=${arg#--gtest_filter=}
      positive=${filter%%-*}
      [ "$filter" = "${filter#*-}" ] || negative=${filter#*-}
      ;;
    *) cmd+=("$arg") ;;
  esac
done
[ -n "$positive" ] || positive="*"

# A Windows program ends its lines with CR LF.
passed() { sed -n 's/^\[       OK \] \([^ ]*\) ([0-9]* ms)\r*$/\1/p' "$1"; }
failed() { sed -n 's/^\[  FAILED  \] \([^ ,]*\).* ([0-9]* ms)\r*$/\1/p' "$1"; }

"${cmd[@]}" "--gtest_filter=$positive${negative:+-$negative}" | tee "$out"
rc=${PIPESTATUS[0]}
[ "$rc" -eq 0 ] && exit 0

# Everything that passed stays out of the second start.
skip=$(passed "$out" | paste -sd: -)
exclude=$negative${negative:+${skip:+:}}$skip
echo "gtest-retry: $(basename -- "${cmd[-1]}") ended with status $rc; the cases that did not pass run once more"
"${cmd[@]}" "--gtest_filter=$positive${exclude:+-$exclude}" | tee "$again"
first=$rc rc=${PIPESTATUS[0]}
# Every case passed and still the program failed (at its start or its end):
# no retry can mend that.
if [ -z "$(passed "$again")$(failed "$again")" ]; then
  echo "gtest-retry: no case failed, and still the program ended with status $first"
  exit "$first"
fi
passed "$again" | sed 's/^/passed on its retry: /'
failed "$again" | sed 's/^/failed on its retry too: /'
exit "$rc"
