#!/usr/bin/env bash
# Builds the 32-bit release and makes the CD: folder build/win32/cd/Korvane6
# and image build/win32/Korvane6.iso.
#   scripts/make-cd.sh [--xmanager DIR] [--korvane DIR]
# DIR is a folder holding a real set-up (setup.exe and its files); without it
# the demo stand-in takes its place.
set -euo pipefail
cd "$(dirname "$0")/.."
xman="" korv=""
while [ $# -gt 0 ]; do
  case $1 in
    --xmanager) xman=$(realpath "$2"); shift 2 ;;
    --korvane) korv=$(realpath "$2"); shift 2 ;;
    *) echo "usage: $0 [--xmanager DIR] [--korvane DIR]" >&2; exit 2 ;;
  esac
done
scripts/deps.sh
cmake --preset win32 -DKORVANE_XMANAGER_DIR="$xman" -DKORVANE_SETUP_DIR="$korv" >/dev/null
cmake --build --preset win32 -j "$(nproc)" --target cd_iso
