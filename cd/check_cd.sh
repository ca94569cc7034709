#!/usr/bin/env bash
# Checks a CD, before and after it is made.
#   check_cd.sh <cd dir> [SHA256SUMS]
#       Refuses a folder that the start menu cannot work from: a missing
#       set-up, a missing notes document, or an autorun.inf naming a file
#       that is not there. With SHA256SUMS (make_iso.sh writes it), every
#       file listed there must be in the folder with that sum: so a mounted
#       disc is checked against the build that made it.
#   check_cd.sh <image.iso | disc device>
#       The MD5 sums that the image records of itself and of each file (a
#       burned disc's too), and the image's SHA-256 where a SHA256SUMS beside
#       it lists it.
# Exit 0 when all is well; otherwise says what is wrong, exit 1.
set -uo pipefail
target=$1 sums=${2:-}
problems=()
sha_checked=""  # the image's SHA-256 was checked

check_folder() {
  need() { [ -f "$target/$1" ] || problems+=("missing: $1"); }
  need "Korvane6Menu.exe"
  need "Xmanager/DISK1/setup.exe"
  need "Korvane6/DISK1/setup.exe"
  for lang in ger eng fra ita spa; do need "Korvane6 Installation_$lang.rtf"; done

  if [ -f "$target/autorun.inf" ]; then
    # open= and icon= name files relative to the CD root; icon may add ",index".
    while IFS='=' read -r key value; do
      value=${value%$'\r'}
      case "${key,,}" in
        open) file=${value%% *} ;;
        icon) file=${value%%,*} ;;
        *) continue ;;
      esac
      [ -f "$target/${file//\\//}" ] || problems+=("autorun.inf $key= names a missing file: $file")
    done <"$target/autorun.inf"
  else
    problems+=("missing: autorun.inf")
  fi

  if [ -n "$sums" ]; then
    local out
    out=$(cd "$target" && grep -v '\.iso$' "$(realpath "$sums")" | sha256sum --check --strict --quiet 2>&1) ||
      problems+=("files that differ from $sums:" "${out//$'\n'/; }")
  fi
}

check_image() {
  local out sums_beside
  out=$(xorriso -no_rc -md5 on -indev "$target" -check_media -- -check_md5_r sorry / -- 2>&1)
  if [ $? -ne 0 ] || grep -q 'md5_mismatch\|MD5 comparison mismatch' <<<"$out" || ! grep -q '+ md5_match' <<<"$out"
  then
    problems+=("its recorded MD5 sums are missing or do not match:")
    mapfile -t -O ${#problems[@]} problems < <(grep -i 'md5' <<<"$out" | grep -iv 'found matching' | tail -5 | sed 's/^/  /')
  fi
  sums_beside=$(dirname "$target")/SHA256SUMS
  if [ -f "$target" ] && [ -f "$sums_beside" ] && grep -q " $(basename "$target")\$" "$sums_beside"; then
    out=$(cd "$(dirname "$target")" && grep " $(basename "$target")\$" SHA256SUMS | sha256sum --check --quiet 2>&1) ||
      problems+=("its SHA-256 differs from $sums_beside: $out")
    sha_checked=1
  fi
}

if [ -d "$target" ]; then check_folder; else check_image; fi

if [ ${#problems[@]} -gt 0 ]; then
  echo "The CD $target is not as it should be:" >&2
  printf '  %s\n' "${problems[@]}" >&2
  exit 1
fi
if [ -d "$target" ]; then
  echo "CD folder complete${sums:+, every file as $sums lists it}: $target"
else
  echo "CD image sound: its MD5 sums match${sha_checked:+, and its SHA-256 the one SHA256SUMS lists}: $target"
fi
