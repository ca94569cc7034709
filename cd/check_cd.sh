#!/usr/bin/env bash
# Checks a CD, before and after it is made.
#   check_cd.sh <cd dir> [SHA256SUMS]
#       Refuses a folder that the start menu cannot work from: a missing
#       set-up, a missing notes document, or an autorun.inf naming a file
#       that is not there. With SHA256SUMS (make_iso.sh writes it), every
#       file of the CD that it lists ("./path") must be in the folder with
#       that sum, and the folder must hold no other file: so a mounted disc
#       is checked against the build that made it, and a file slipped in
#       beside a set-up (a DLL that Windows would load) is found.
#   check_cd.sh [--md5-only] <image.iso | disc device> [SHA256SUMS]
#       The MD5 sums that the image records of itself and of each file, its
#       Joliet names (what Windows reads), and the image's SHA-256 as
#       SHA256SUMS (by default the one beside the image) lists it under the
#       image's name. An image whose SHA-256 is not listed there is refused;
#       --md5-only leaves the SHA-256 out, as a burned disc carries only its
#       recorded sums.
# Exit 0 when all is well; otherwise says what is wrong, exit 1.
set -uo pipefail
md5_only=""
[ "${1:-}" = --md5-only ] && { md5_only=1; shift; }
[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: $0 <cd dir> [SHA256SUMS] | [--md5-only] <image | device> [SHA256SUMS]" >&2; exit 2; }
target=$1 sums=${2:-}
# Paths are taken as given, before the checks below change folder.
[ -e "$target" ] && target=$(realpath "$target")
[ -z "$sums" ] || sums=$(realpath -m "$sums")
problems=()

# The lines of SHA256SUMS for the files of the CD (the image's has no "./").
disc_lines() { grep -E '^[0-9a-f]{64}  \./' "$sums"; }

check_folder() {
  need() { [ -f "$target/$1" ] || problems+=("missing: $1"); }
  need "Korvane6Menu.exe"
  need "Xmanager/DISK1/setup.exe"
  need "Korvane6/DISK1/setup.exe"
  for lang in ger eng fra ita spa; do need "Korvane6 Installation_$lang.rtf"; done

  if [ -f "$target/autorun.inf" ]; then
    # open= and icon= name files relative to the CD root; icon may add ",index".
    # The last line counts too, with or without its line end.
    local key value file
    while IFS='=' read -r key value || [ -n "$key" ]; do
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

  [ -n "$sums" ] || return
  [ -f "$sums" ] || { problems+=("no sums file: $sums"); return; }
  local out listed extra
  listed=$(disc_lines | cut -c67- | LC_ALL=C sort)
  [ -n "$listed" ] || { problems+=("$sums lists no file of a CD"); return; }
  out=$(cd "$target" && disc_lines | sha256sum --check --strict --quiet 2>&1) ||
    problems+=("files that differ from $sums:" "${out//$'\n'/; }")
  extra=$(comm -23 <(cd "$target" && find . -type f | LC_ALL=C sort) <(echo "$listed"))
  [ -z "$extra" ] || problems+=("files that $sums does not list:" "${extra//$'\n'/; }")
}

check_image() {
  local out name listed actual
  [ -e "$target" ] || { problems+=("no such image or device"); return; }
  out=$(xorriso -no_rc -md5 on -indev "$target" -toc -check_media -- -check_md5_r sorry / -- 2>&1)
  if [ $? -ne 0 ] || grep -q 'md5_mismatch\|MD5 comparison mismatch' <<<"$out" || ! grep -q '+ md5_match' <<<"$out"
  then
    problems+=("its recorded MD5 sums are missing or do not match:")
    mapfile -t -O ${#problems[@]} problems < <(grep -i 'md5' <<<"$out" | grep -iv 'found matching' | tail -5 | sed 's/^/  /')
  fi
  # Windows reads the Joliet names; without them it shows 8.3 capitals.
  grep -q '^ISO offers *:.*Joliet' <<<"$out" ||
    problems+=("it has no Joliet names (Windows would show 8.3 names): $(grep -m1 '^ISO offers' <<<"$out")")
  [ -z "$md5_only" ] || return
  [ -n "$sums" ] || sums=$(dirname "$target")/SHA256SUMS
  name=$(basename "$target")
  if [ ! -f "$sums" ]; then
    problems+=("its SHA-256 cannot be checked: no $sums (--md5-only checks the recorded MD5 sums alone)")
    return
  fi
  listed=$(awk -v n="$name" 'length($1) == 64 && substr($0, 67) == n { print $1; exit }' "$sums")
  if [ -z "$listed" ]; then
    problems+=("its SHA-256 cannot be checked: $sums lists no image named $name")
    return
  fi
  actual=$(sha256sum <"$target" | cut -d' ' -f1)
  [ "$actual" = "$listed" ] || problems+=("its SHA-256 $actual differs from $listed that $sums lists")
}

if [ -d "$target" ]; then check_folder; else check_image; fi

if [ ${#problems[@]} -gt 0 ]; then
  echo "The CD $target is not as it should be:" >&2
  printf '  %s\n' "${problems[@]}" >&2
  exit 1
fi
if [ -d "$target" ]; then
  echo "CD folder complete${sums:+, every file as $sums lists it and no other}: $target"
elif [ -n "$md5_only" ]; then
  echo "CD image sound: its MD5 sums match (its SHA-256 not checked: --md5-only): $target"
else
  echo "CD image sound: its MD5 sums match, and its SHA-256 the one $sums lists: $target"
fi
