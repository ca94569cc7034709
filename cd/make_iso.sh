#!/usr/bin/env bash
# Makes an ISO 9660 image with Joliet names (the notes' names hold a blank)
# and Rock Ridge from a checked CD folder.
#   make_iso.sh <cd dir> <image.iso>
set -euo pipefail
"$(dirname "$0")/check_cd.sh" "$1"
rm -f "$2"
xorriso -as mkisofs -quiet -J -joliet-long -R -V KORVANE6 -o "$2" "$1"
echo "CD image: $2"
