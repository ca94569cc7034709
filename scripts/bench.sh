#!/usr/bin/env bash
# Runs the benchmarks and writes BENCHMARKS.md: start-up against a bare
# window (three repetitions, with the phases of each run), hover to paint,
# boxes painted per hover, executable size and imports, working set, and the
# registry enumeration scaling. The release (i686, under 32-bit Wine) against
# an i686 bare window, and the x86_64 twin (Release build) against an x86_64
# one, on a virtual display.
#   RUNS=25 REPETITIONS=3 scripts/bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
RUNS=${RUNS:-25} REPETITIONS=${REPETITIONS:-3}
benches="Korvane6Menu startup_bench hover_bench paint_bench bare_window registry_bench"
source scripts/wine-env.sh
# The release needs 32-bit Wine, run natively: without it, or where only an
# emulator runs it (whose times are the emulator's, not the release's), only
# the twin is measured, and the report says why.
measured=(release twin)
if ! can_run_32; then
  measured=(twin)
elif [ "$(how_i386_runs)" != natively ]; then
  measured=(twin)
  WHY_NO_32="the release runs here only $(how_i386_runs), so its times would be the emulator's, not its own"
fi
shown=${measured[0]}  # the build whose start-up phases and DLLs are shown
cmake --preset win32 >/dev/null
# shellcheck disable=SC2086
cmake --build --preset win32 -j "$(nproc)" --target $benches >/dev/null
TWIN=build/bench
cmake --preset win64 -B "$TWIN" -DCMAKE_BUILD_TYPE=Release >/dev/null
# shellcheck disable=SC2086
cmake --build "$TWIN" -j "$(nproc)" --target $benches >/dev/null

trap wine_env_down EXIT
wine_env_up "$PWD/build/win32/bench-wine"
win() { echo "Z:$(realpath "$1" | tr / '\\')"; }
# English system language for Wine's processes only (the host has no such locale).
run() { local loader=$1; shift; LC_ALL=en_US.UTF-8 "$loader" "$@" 2>/dev/null | tr -d '\r'; }
val() { awk -v k="$1" '$1 == k { print $2 }' <<<"$2"; }

# The DLLs that a program has loaded when it is ended 1.5 s after its start:
# its own process only (the log also has the processes that Wine starts
# beside it, such as the desktop's explorer.exe), the image itself left out.
dlls() {  # dlls <loader> <exe>
  local log pid
  log=$(mktemp)
  ( WINEDEBUG=+pid,+loaddll LC_ALL=en_US.UTF-8 "$1" "$2" >/dev/null 2>"$log" & p=$!; sleep 1.5; kill $p 2>/dev/null ) || true
  pid=$(grep -m1 -F "$(basename "$2")\" at" "$log" | cut -d: -f1)
  grep "^$pid:" "$log" | sed -n 's/.*Loaded L"\([^"]*\)".*/\1/p' | sed 's/.*\\//' | tr 'A-Z' 'a-z' |
    grep -vxF "$(basename "$2" | tr 'A-Z' 'a-z')" | sort -u | paste -sd ' '
  rm -f "$log"
}

declare -A startup hover paints registry
dir_of() { if [ "$1" = release ]; then echo build/win32; else echo "$TWIN"; fi; }
loader_of() { if [ "$1" = release ]; then echo "$WINE32"; else echo "$WINE"; fi; }
for build in "${measured[@]}"; do
  dir=$(dir_of $build) loader=$(loader_of $build)
  startup[$build]=$(run "$loader" "$dir/bench/bin/startup_bench.exe" "$(win "$dir/bin/Korvane6Menu.exe")" \
                        "$(win "$dir/bench/bin/bare_window.exe")" "$RUNS" "$REPETITIONS")
  hover[$build]=$(run "$loader" "$dir/bench/bin/hover_bench.exe" "$(win "$dir/bin/Korvane6Menu.exe")" 8)
  paints[$build]=$(run "$loader" "$dir/bench/bin/paint_bench.exe" 60)
  registry[$build]=$(run "$loader" "$dir/bench/bin/registry_bench.exe")
done
menu_dlls=$(dlls "$(loader_of $shown)" "$(dir_of $shown)/bin/Korvane6Menu.exe")
bare_dlls=$(dlls "$(loader_of $shown)" "$(dir_of $shown)/bench/bin/bare_window.exe")
only_menu=$(comm -23 <(tr ' ' '\n' <<<"$menu_dlls" | sort) <(tr ' ' '\n' <<<"$bare_dlls" | sort) | paste -sd ' ')

section_sizes() {  # prints: file text rsrc other (bytes)
  local exe=$1 objdump=$2
  local file text=0 rsrc=0 total=0 idx name size
  file=$(stat -c %s "$exe")
  while read -r idx name size _; do
    [[ $idx =~ ^[0-9]+$ && $name == .* ]] || continue
    size=$((16#$size))
    total=$((total + size))
    [ "$name" = .text ] && text=$size
    [ "$name" = .rsrc ] && rsrc=$size
  done < <("$objdump" -h "$exe")
  echo "$file $text $rsrc $((total - text - rsrc))"
}
read -r f32 t32 r32 o32 < <(section_sizes build/win32/bin/Korvane6Menu.exe i686-w64-mingw32-objdump)
read -r f64 t64 r64 o64 < <(section_sizes "$TWIN/bin/Korvane6Menu.exe" x86_64-w64-mingw32-objdump)
imports=$(i686-w64-mingw32-objdump -p build/win32/bin/Korvane6Menu.exe | awk '/DLL Name/ { print $3 }' | sort | paste -sd ' ')
kib() { awk -v b="$1" 'BEGIN { printf "%.0f KiB", b / 1024 }'; }
diff_ms() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a - b }'; }

not_measured="Not measured this time: ${WHY_NO_32:-}."
startup_table() {  # startup_table <build>
  local s=${startup[$1]:-} r
  [ -n "$s" ] || { echo "$not_measured"; return; }
  echo "| Repetition | Menu | Bare window | Ratio | Menu working set | Bare working set | Ratio |"
  echo "|---|---:|---:|---:|---:|---:|---:|"
  for r in $(seq "$REPETITIONS"); do
    echo "| $r | $(val r${r}_menu_ms "$s") ms | $(val r${r}_bare_ms "$s") ms | $(val r${r}_ratio "$s") |" \
         "$(val r${r}_menu_ws_kib "$s") KiB | $(val r${r}_bare_ws_kib "$s") KiB | $(val r${r}_ws_ratio "$s") |"
  done
  echo "| **median** | | | **$(val ratio "$s")** | | | **$(val ws_ratio "$s")** |"
}
phase_table() {  # phase_table <build>
  local s=${startup[$1]} r
  echo "| Repetition | Program | Until its window exists | Load handler, until visible | First paint, until the picture shows | Total |"
  echo "|---|---|---:|---:|---:|---:|"
  for r in $(seq "$REPETITIONS"); do
    for who in menu bare; do
      local w v p
      w=$(val r${r}_${who}_window_ms "$s") v=$(val r${r}_${who}_visible_ms "$s") p=$(val r${r}_${who}_ms "$s")
      echo "| $r | $who | $w ms | $(diff_ms "$v" "$w") ms | $(diff_ms "$p" "$v") ms | $p ms |"
    done
  done
}

{
cat <<MD
# Benchmarks

Made by \`scripts/bench.sh\` on $(date -u +%Y-%m-%d): $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'),
$(free -g | awk '/Mem:/ { print $2 }') GiB; $("$WINE" --version) on Xvfb (1024 x 768), English system language. The
release is the i686 \`Korvane6Menu.exe\` as it ships, under 32-bit Wine; the twin its x86_64 Release build.
Times are medians; the programs are in \`bench/\`. Under Wine on this machine single runs vary by
±20 %, and whole runs of this script by more: each start-up table shows its repetitions.
$([ ${#measured[@]} -eq 1 ] && printf '\n**The release was not measured this time:** %s.\n' "$WHY_NO_32")

## Start-up

From process creation until the window's picture is on screen (the welcome panel for the menu; a
bare Win32 window of the same size and bitness, at the same place, painting a panel, as the
yardstick), $(val runs "${startup[$shown]}") runs each per repetition, alternating. Working set after
start-up. Targets for the release: start-up ≤ 1.15 × the bare window, working set ≤ 1.2 ×.

### Release (i686)

$(startup_table release)

### Twin (x86_64)

$(startup_table twin)

### Where the $shown's start-up goes

Each run notes when the program's top-level window first exists (before that: process creation,
loading the image and its DLLs, the C runtime and the start-up routine up to the window's creation),
when it first is visible (the menu's load handler: its 12 child windows, strings, fonts, pictures,
trackers) and when the picture shows (the first paint). Medians per repetition.

$(phase_table $shown)

What the yardstick does not have is the menu's own work: the bare window makes no child window,
where the menu's load handler makes twelve and subclasses eleven of them for hover tracking (each
a round of messages and wineserver calls under Wine), sets the captions in their fonts and
selects the language from the registry. The pictures are drawn from the resource bits and nothing
is painted twice, so the first paint costs no more than the bare window's.

DLLs that the $shown has loaded 1.5 s after its start and the bare window has not:
${only_menu:-none}.

## Hover

From the pointer arriving on an entry until the entry's white highlight is on screen. Resting on the
entry plays the hover sound (synchronous, 88 ms) after the highlight; arriving on the entry's strip
highlights it without sound. Target ≤ 16 ms (one frame).

| Build | Visits | On the entry, with sound | On the strip, no sound |
|---|---:|---:|---:|
$(for b in "${measured[@]}"; do
  echo "| $b | $(val hover_samples "${hover[$b]}") | $(val hover_entry_ms "${hover[$b]}") ms | $(val hover_strip_ms "${hover[$b]}") ms |"
done)

Boxes painted (WM_PAINT of the 12 boxes, counted in-process, \`paint_bench\`). Target: no paint
when nothing changes.

| Build | Lighting an entry | $(val rests_on_the_lit_entry "${paints[$shown]}") more rests on it | Back to the welcome panel | $(val rests_on_the_lit_entry "${paints[$shown]}") more rests on the panel |
|---|---:|---:|---:|---:|
MD
for build in "${measured[@]}"; do
  p=${paints[$build]}
  echo "| $build | $(val paints_lighting_an_entry "$p") | $(awk '$1 == "paints_for_them" { print $2; exit }' <<<"$p") |" \
       "$(val paints_resetting "$p") | $(awk '$1 == "paints_for_them" { n++; if (n == 2) print $2 }' <<<"$p") |"
done
cat <<MD

## Size

| Build | File | Code (.text) | Resources (.rsrc) | Other sections |
|---|---|---|---|---|
| i686 release (the CD) | $(kib "$f32") | $(kib "$t32") | $(kib "$r32") | $(kib "$o32") |
| x86_64 twin | $(kib "$f64") | $(kib "$t64") | $(kib "$r64") | $(kib "$o64") |

Imports of the release: $imports (Windows' own DLLs only; the C++ runtime is linked in).

## Registry enumeration

Release:

\`\`\`
${registry[release]:-$not_measured}
\`\`\`

Twin:

\`\`\`
${registry[twin]}
\`\`\`
MD
} > BENCHMARKS.md
echo "Wrote BENCHMARKS.md"
