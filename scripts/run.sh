#!/usr/bin/env bash
# Builds the release and runs it under 32-bit Wine on a demo CD folder (stand-in
# set-ups that show the command line they receive, the five notes documents).
# With a reachable $DISPLAY the window opens there; without one it runs on a
# virtual display and a screenshot is saved. The language follows LC_ALL
# (e.g. LC_ALL=de_DE.UTF-8 scripts/run.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
source scripts/wine-env.sh
# The release needs 32-bit Wine (through QEMU's emulator where the kernel runs
# no 32-bit program); only where it cannot run at all does the x86_64 twin
# stand in.
preset=win32 loader=$WINE32
if can_run_32; then
  echo "Running the i686 release under 32-bit Wine, $(how_i386_runs)"
else
  preset=win64 loader=$WINE
  echo "Running the x86_64 twin instead of the release: $WHY_NO_32"
fi
cmake --preset $preset >/dev/null
cmake --build --preset $preset -j "$(nproc)" --target Korvane6Menu demo_setup

build=$PWD/build/$preset
cd_dir=$build/demo-cd
bash cd/layout_cd.sh "$cd_dir" "$build/bin/Korvane6Menu.exe" "$build/bin/demo_setup.exe"
echo "Demo CD folder: $cd_dir"

trap wine_env_down EXIT
if [ -n "${DISPLAY:-}" ] && xset q >/dev/null 2>&1; then
  KEEP_DISPLAY=1 wine_env_up "$build/run"
  echo "Starting the start menu on $DISPLAY; close its window to end."
  "$loader" "$cd_dir/Korvane6Menu.exe"
else
  unset DISPLAY
  wine_env_up "$build/run" 1024x768
  start_menu_on_desktop Korvane "$cd_dir/Korvane6Menu.exe"
  shot=$build/launcher.png
  import -window root "$shot"
  echo "No display: ran on a virtual display; screenshot saved to $shot"
fi
