#!/usr/bin/env bash
# Lays out the CD folder: the start menu at the root, the two set-ups in their
# folders, the five installation notes and autorun.inf.
#   layout_cd.sh <out dir> <menu exe> <stand-in set-up exe> [Xmanager set-up dir] [Korvane 6 set-up dir]
# A set-up dir is copied whole into <out>/Xmanager/DISK1 (or Korvane6/DISK1) and
# must hold setup.exe; without one the stand-in is put there as setup.exe.
set -euo pipefail
out=$1 menu=$2 stub=$3 xman=${4:-} korv=${5:-}
here=$(cd "$(dirname "$0")" && pwd)

rm -rf "$out"
mkdir -p "$out/Xmanager/DISK1" "$out/Korvane6/DISK1"
cp "$menu" "$out/Korvane6Menu.exe"
for pair in "Xmanager:$xman" "Korvane6:$korv"; do
  name=${pair%%:*} src=${pair#*:}
  if [ -n "$src" ]; then
    cp -R "$src"/. "$out/$name/DISK1/"
  else
    cp "$stub" "$out/$name/DISK1/setup.exe"
  fi
done
cp "$here"/notes/*.rtf "$out/"
# Windows reads autorun.inf with CR LF line ends.
printf '[autorun]\r\nopen=Korvane6Menu.exe\r\nicon=Korvane6Menu.exe,0\r\nlabel=KORVANE 6\r\n' > "$out/autorun.inf"
