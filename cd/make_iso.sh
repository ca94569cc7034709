#!/usr/bin/env bash
# Makes an ISO 9660 image with Joliet names (the notes' names hold a blank)
# and Rock Ridge from a checked CD folder, and SHA256SUMS beside it: the
# image's SHA-256 and that of every file of the CD, by its path on the disc.
# The image is reproducible: every date in it is SOURCE_DATE_EPOCH (by
# default the time of the last commit), owners and modes are normalised (-r)
# and no start-up file of xorriso's is read, so the same files give the same
# bytes. It records MD5 sums of itself and of each file, against which a
# burned disc can be checked (check_cd.sh).
#   make_iso.sh <cd dir> <image.iso>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cd_dir=$1 image=$2
"$here/check_cd.sh" "$cd_dir"
SOURCE_DATE_EPOCH=$("$here/../scripts/source-date-epoch.sh")
export SOURCE_DATE_EPOCH
rm -f "$image"
xorriso -no_rc -as mkisofs -quiet -r -J -joliet-long -V KORVANE6 --md5 \
  --set_all_file_dates "=$SOURCE_DATE_EPOCH" -o "$image" "$cd_dir" 2>&1 |
  grep -v '^xorriso : NOTE : \|^xorriso [0-9.]* : RockRidge\|^$' >&2 || true
[ -s "$image" ] || { echo "xorriso made no image of $cd_dir" >&2; exit 1; }
sums=$(dirname "$image")/SHA256SUMS
{
  (cd "$(dirname "$image")" && sha256sum -- "$(basename "$image")")
  (cd "$cd_dir" && find . -type f -printf '%P\0' | LC_ALL=C sort -z | xargs -0 sha256sum --)
} >"$sums"
echo "CD image: $image (SOURCE_DATE_EPOCH $SOURCE_DATE_EPOCH), sums in $sums"
