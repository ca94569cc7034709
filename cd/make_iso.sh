#!/usr/bin/env bash
# Makes an ISO 9660 image with Joliet names (the notes' names hold a blank)
# and Rock Ridge from a checked CD folder, and SHA256SUMS beside it: the
# image's SHA-256 under its own name, and that of every file of the CD under
# its path on the disc, written "./path".
# The image is reproducible: every date in it is SOURCE_DATE_EPOCH (by
# default the time of the last commit), owners and modes are normalised (-r),
# no start-up file of xorriso's is read, the preparer id is fixed (xorriso's
# own names its version) and file names are read as UTF-8 whatever the
# locale, so the same files give the same bytes. It records MD5 sums of
# itself and of each file, against which a burned disc can be checked
# (check_cd.sh); they are checked here before SHA256SUMS is written.
#   make_iso.sh <cd dir> <image.iso>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cd_dir=$1 image=$2
"$here/check_cd.sh" "$cd_dir"
SOURCE_DATE_EPOCH=$("$here/../scripts/source-date-epoch.sh")
export SOURCE_DATE_EPOCH
sums=$(dirname "$image")/SHA256SUMS
log=$(mktemp)
trap 'rm -f "$log" "$sums.new"' EXIT
# A failed or half-written image must not keep the sums of an earlier one.
rm -f "$image" "$sums"
if ! xorriso -no_rc -as mkisofs -quiet -input-charset UTF-8 -r -J -joliet-long -V KORVANE6 \
     -preparer "KORVANE 6 INSTALLATION CD" --md5 --set_all_file_dates "=$SOURCE_DATE_EPOCH" \
     -o "$image" "$cd_dir" >"$log" 2>&1; then
  cat "$log" >&2
  rm -f "$image"
  echo "xorriso could not make an image of $cd_dir" >&2
  exit 1
fi
grep -v '^xorriso : NOTE : \|^xorriso [0-9.]* : RockRidge\|^$' "$log" >&2 || true
if ! out=$("$here/check_cd.sh" --md5-only "$image" 2>&1); then
  echo "$out" >&2
  rm -f "$image"
  echo "The image just made does not match its own MD5 sums: no image, no sums" >&2
  exit 1
fi
{
  (cd "$(dirname "$image")" && sha256sum -- "$(basename "$image")")
  (cd "$cd_dir" && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum --)
} >"$sums.new"
mv "$sums.new" "$sums"
echo "CD image: $image (SOURCE_DATE_EPOCH $SOURCE_DATE_EPOCH), sums in $sums"
