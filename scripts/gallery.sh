#!/usr/bin/env bash
# Screenshots of the release under 32-bit Wine for docs/: every language at
# rest and with each entry highlighted, and one refusal message per language.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)" --target Korvane6Menu stub_setup

cd_dir=$PWD/build/win32/gallery-cd
bash cd/layout_cd.sh "$cd_dir" build/win32/bin/Korvane6Menu.exe build/win32/bin/stub_setup.exe
source scripts/wine-env.sh
trap wine_env_down EXIT
unset DISPLAY
wine_env_up "$PWD/build/win32/gallery" 1024x768
mkdir -p docs

# The menu's outer window in the Wine desktop: client at (390, 357), frame 3, caption 19.
crop="490x353+384+332"
shot() { sleep "${2:-0.6}"; import -window root -crop "$crop" +repage "docs/$1.png"; }
# A point in the menu's client area, on the screen.
at() { echo $((390 + $1)) $((357 + $2)); }

start_menu() { start_menu_on_desktop Gallery "$cd_dir/Korvane6Menu.exe" "$1"; }  # start_menu <locale>
stop_menu() { "$WINESERVER" -k >/dev/null 2>&1 || true; sleep 0.5; "$WINESERVER" -p; "$WINE" wineboot >/dev/null 2>&1; }

for pair in ger:de_DE.UTF-8 eng:en_US.UTF-8 fra:fr_FR.UTF-8 ita:it_IT.UTF-8 spa:es_ES_tradnl; do
  lang=${pair%%:*} locale=${pair#*:}
  start_menu "$locale"
  shot "menu_${lang}_rest" 0.2
  for i in 1 2 3 4; do
    # shellcheck disable=SC2046
    xdotool mousemove $(at 100 $((93 + 29 * (i - 1) + 14)))
    shot "menu_${lang}_entry$i"
  done
  stop_menu
done

# A refusal per language: a Windows build below 2195 refuses Korvane 6.
# The release is a 32-bit program: it reads the 32-bit view of the registry.
"$WINE32" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' /v CurrentBuildNumber /d 2000 /f >/dev/null 2>&1
crop="640x420+300+260"
for pair in ger:de_DE.UTF-8 eng:en_US.UTF-8 fra:fr_FR.UTF-8 ita:it_IT.UTF-8 spa:es_ES_tradnl; do
  lang=${pair%%:*} locale=${pair#*:}
  start_menu "$locale"
  # shellcheck disable=SC2046
  xdotool mousemove $(at 100 $((93 + 29 + 14))) sleep 0.4 click 1
  shot "refusal_${lang}_os" 1.0
  stop_menu
done
echo "Screenshots in docs/"
