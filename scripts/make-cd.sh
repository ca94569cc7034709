#!/usr/bin/env bash
# Builds the 32-bit release and makes the CD: the folder build/win32/cd/Korvane6,
# the image build/win32/Korvane6.iso and build/win32/SHA256SUMS.
#   scripts/make-cd.sh [--xmanager DIR] [--korvane DIR] [--sign CERT.pfx [--timestamp URL]]
# DIR is a folder holding a real set-up (setup.exe and its files); without it
# the demo stand-in takes its place.
# --sign signs the menu on the CD (SHA-256 Authenticode) as the last step
# before the image, with the PFX's password from KORVANE_SIGN_PASSWORD;
# --timestamp has the signature time-stamped by that server. A menu whose
# signature does not verify makes no CD.
# Everything is stamped with SOURCE_DATE_EPOCH (by default the time of the
# last commit): the same commit gives the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
usage() { echo "usage: $0 [--xmanager DIR] [--korvane DIR] [--sign CERT.pfx [--timestamp URL]]" >&2; exit 2; }
xman="" korv="" cert="" tsa=""
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || usage
  case $1 in
    --xmanager) xman=$(realpath "$2") ;;
    --korvane) korv=$(realpath "$2") ;;
    --sign) cert=$(realpath "$2") ;;
    --timestamp) tsa=$2 ;;
    *) usage ;;
  esac
  shift 2
done
[ -z "$tsa" ] || [ -n "$cert" ] || usage
scripts/deps.sh
cmake --preset win32 -DKORVANE_XMANAGER_DIR="$xman" -DKORVANE_SETUP_DIR="$korv" >/dev/null
cmake --build --preset win32 -j "$(nproc)" --target cd_folder
cd_dir=build/win32/cd/Korvane6
[ -z "$cert" ] || cd/sign_menu.sh "$cd_dir/Korvane6Menu.exe" "$cert" "$tsa"
cd/make_iso.sh "$cd_dir" build/win32/Korvane6.iso
