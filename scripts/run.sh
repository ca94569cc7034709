#!/usr/bin/env bash
# Builds the release and runs it under 32-bit Wine on a demo CD folder (stand-in
# set-ups that show the command line they receive, the five notes documents).
# With a reachable $DISPLAY the window opens there; without one it runs on a
# virtual display and a screenshot is saved. The language follows LC_ALL
# (e.g. LC_ALL=de_DE.UTF-8 scripts/run.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)" --target Korvane6Menu demo_setup

cd_dir=$PWD/build/win32/demo-cd
bash cd/layout_cd.sh "$cd_dir" build/win32/bin/Korvane6Menu.exe build/win32/bin/demo_setup.exe
echo "Demo CD folder: $cd_dir"

source scripts/wine-env.sh
trap wine_env_down EXIT
if [ -n "${DISPLAY:-}" ] && xset q >/dev/null 2>&1; then
  KEEP_DISPLAY=1 wine_env_up "$PWD/build/win32/run"
  echo "Starting the start menu on $DISPLAY; close its window to end."
  "$WINE32" "$cd_dir/Korvane6Menu.exe"
else
  unset DISPLAY
  wine_env_up "$PWD/build/win32/run" 1024x768
  start_menu_on_desktop Korvane "$cd_dir/Korvane6Menu.exe"
  shot=$PWD/build/win32/launcher.png
  import -window root "$shot"
  echo "No display: ran on a virtual display; screenshot saved to $shot"
fi
