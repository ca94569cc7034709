#!/usr/bin/env bash
# Writes RELIABILITY.md: the menu under long use and bad input, on the
# release (i686 under 32-bit Wine) and on the twin (x86_64), each in a Wine
# prefix and on a virtual display of its own, one after the other:
#   soak     10,000 random pointer moves, the program's objects sampled every 1,000
#   storm    200 Help clicks
#   fuzzing  1,000,000 random and mutated inputs per group of pure functions
#   profiles odd registry contents, each with its outcome and its time
# The same programs run, shorter, in the test suite. Takes about 20 minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
source scripts/wine-env.sh
MOVES=${MOVES:-10000} CLICKS=${CLICKS:-200} INPUTS=${INPUTS:-1000000} CARDS=${CARDS:-5000}
targets="Korvane6Menu stub_setup soak_e2e profiles_e2e fuzz_decode_reg_data fuzz_encode_setting fuzz_prerequisites"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
status=0
# The release needs 32-bit Wine; without it only the twin is run, and the
# report says why.
presets=(win32 win64)
can_run_32 || presets=(win64)
for preset in "${presets[@]}"; do
  cmake --preset "$preset" >/dev/null
  # shellcheck disable=SC2086
  cmake --build --preset "$preset" -j "$(nproc)" --target $targets >/dev/null
  loader=$WINE; [ "$preset" = win32 ] && loader=$WINE32
  (
    trap wine_env_down EXIT
    wine_env_up "$PWD/build/$preset/reliability-wine" >/dev/null
    # English system language for Wine's processes only (the host has no such locale).
    LC_ALL=en_US.UTF-8 KORVANE_SOAK_MOVES=$MOVES KORVANE_STORM_CLICKS=$CLICKS \
      "$loader" "build/$preset/tests/bin/soak_e2e.exe" 2>&1 | tr -d '\r' > "$out/$preset.soak" || true
    LC_ALL=en_US.UTF-8 KORVANE_PROFILE_CARDS=$CARDS "$loader" "build/$preset/tests/bin/profiles_e2e.exe" 2>&1 | tr -d '\r' > "$out/$preset.profiles" || true
    reliability/fuzz/run_fuzz.sh "build/$preset" "$loader" "$INPUTS" > "$out/$preset.fuzz" 2>&1 || true
  )
  grep -q '^\[  PASSED  \] 2 tests' "$out/$preset.soak" || status=1
  grep -q '^\[  FAILED  \]' "$out/$preset.profiles" && status=1
done

# Rows of the samples: "sample <what> <step> gdi N windows N handles N ws_kib N responds 0|1".
samples() {  # samples <file> <what>
  awk -v what="$2" '$1 == "sample" && ($2 == what || (what == "moves" && $2 == "after")) {
    printf "| %s | %s | %s | %s | %s | %s |\n", ($3 == 0 ? "before" : ($2 == "after" ? "after " $3 ", at rest" : "after " $3)), $5, $7, $9, $11,
           ($13 == 1 ? "yes" : "**no**") }' "$1"
}
verdict() {  # verdict <file> <test name>
  if grep -q "^\[       OK \] LongUse.$2" "$1"; then echo "met"; else echo "**missed** (see the test output)"; fi
}

{
  echo "# Reliability"
  echo
  echo "Made by \`scripts/reliability.sh\` on $(date -u +%Y-%m-%d): $(nproc) cores, $("$WINE" --version), Xvfb 1024 x 768."
  echo "The release is the i686 \`Korvane6Menu.exe\` under 32-bit Wine; the twin its x86_64 build. Objects"
  echo "are counted from outside (this Wine's GetGuiResources is a stub): GDI objects from the program's"
  echo "GDI handle table, windows by enumeration, kernel handles by duplicating every handle value; the"
  echo "working set from GetProcessMemoryInfo; answering is WM_NULL within 1 s. The first sample follows"
  echo "one rest on an entry: the first sound loads the audio stack once."
  if [ ${#presets[@]} -eq 1 ]; then
    echo
    echo "**The release was not run this time:** $WHY_NO_32."
  fi
  for preset in "${presets[@]}"; do
    case $preset in win32) name="Release (i686), run $(how_i386_runs)" ;; win64) name="Twin (x86_64)" ;; esac
    echo
    echo "## $name"
    echo
    echo "### Soak: $MOVES random pointer moves"
    echo
    echo "Moves over the entries, strips, bar, filler, panel, header and outside the window, rests of"
    echo "0-30 ms, one move in five a fast sweep down the entry column. Target: object counts flat"
    echo "(± 2), working set growth < 1 MB, always answering, the final highlight where the pointer"
    echo "came to rest. Result: $(verdict "$out/$preset.soak" RandomPointerMovesLeakNothing)."
    echo
    echo "| Sample | GDI objects | Windows | Kernel handles | Working set (KiB) | Answers |"
    echo "|---|---:|---:|---:|---:|---|"
    samples "$out/$preset.soak" moves
    echo
    echo "### Help storm: $CLICKS clicks"
    echo
    echo "Target: one word processor per click, every command line the same, counts flat, the menu"
    echo "alive. Result: $(verdict "$out/$preset.soak" HelpStormStartsTheSameLineEachTime);"
    echo "$(awk '$1 == "storm" { print $3 " command lines recorded, " $5 " of them identical" }' "$out/$preset.soak")."
    echo
    echo "| Sample | GDI objects | Windows | Kernel handles | Working set (KiB) | Answers |"
    echo "|---|---:|---:|---:|---:|---|"
    samples "$out/$preset.soak" clicks
    echo
    echo "### Fuzzing: $INPUTS inputs per program"
    echo
    echo "In-process; each answer is checked against another party, never against a copy of the rule."
    echo "DecodeRegData: every buffer ends at a no-access page or before guard bytes; a string or DWORD must"
    echo "read as RegGetValueA reads the same data from a scratch key under HKEY_CURRENT_USER, a multi-string"
    echo "must give its data back when its items are encoded again, any other type must keep its bytes."
    echo "EncodeSetting: every value is written by WriteSetting into the scratch key and read back raw with"
    echo "RegQueryValueExA; the registry type and the refusal come from a table of every kind, REG_EXPAND_SZ"
    echo "from RegGetValueA's expansion of the text, a multi-string item's text from oleaut32"
    echo "(VariantChangeTypeEx; VariantTimeToSystemTime for dates, moved by 400-year cycles outside the years"
    echo "100 to 9999, either neighbouring second within 10 µs of a half second) or, for reals, strtold's"
    echo "reading of it; what was written must decode back to the value. Dates are drawn within 4e18 days of"
    echo "1899-12-30; NaN and infinite dates are not drawn. Prerequisites: first every build of up to six"
    echo "digits (bare, before a dot, signed) against tables of the answers by length and strtol's reading"
    echo "of the digits; then WholeNumber of random texts against strtoll, and short builds before random"
    echo "tails against the same tables (on other texts the build rules must only not crash). Target: no"
    echo "crash, no read outside the buffer, every answer the other party's."
    echo
    cat "$out/$preset.fuzz"
    echo
    echo "### Bad registry profiles"
    echo
    echo "Target: each ends with the outcome the checks give it, none crashes or hangs. Time: from the"
    echo "click until the refusal shows or the program has ended after starting the set-up."
    echo "ManyCardsGoodOneLast: $CARDS cards."
    echo
    echo "| Profile | Outcome | Time (ms) |"
    echo "|---|---|---:|"
    awk '$1 == "profile" { o = $3; sub(/^refusal-/, "refusal, strings from ", o); sub(/^set-up-started$/, "set-up started", o)
                           printf "| %s | %s | %s |\n", $2, o, $4 }' "$out/$preset.profiles"
    if grep -q '^\[  FAILED  \]' "$out/$preset.profiles"; then
      echo
      echo "**Failed:** $(grep '^\[  FAILED  \] Rows' "$out/$preset.profiles" | sed 's/.*DefinedOutcome\///' | paste -sd ' ')"
    fi
  done
} > RELIABILITY.md
echo "Wrote RELIABILITY.md"
exit $status
