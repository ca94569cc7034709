#!/usr/bin/env bash
# Tests of the CD tooling: a complete folder passes the check and becomes an
# ISO with every file at its place; each kind of gap is refused; the image
# comes out the same from two layouts, and the checks of a made CD find a
# changed byte.
#   test_cd.sh <cd source dir> <menu exe> <stand-in exe> <scratch dir>
set -uo pipefail
src=$1 menu=$2 stub=$3 work=$4
passed=0 failed=0
ok() { echo "ok: $1"; passed=$((passed + 1)); }
bad() { echo "FAILED: $1"; failed=$((failed + 1)); }

fresh() { bash "$src/layout_cd.sh" "$work/cd" "$menu" "$stub" >/dev/null; }
refused() {  # refused <what> <expected text in the message>
  if out=$(bash "$src/check_cd.sh" "$work/cd" 2>&1); then bad "$1 was accepted"
  elif grep -qF "$2" <<<"$out"; then ok "$1 refused"
  else bad "$1 refused without naming '$2': $out"; fi
}

mkdir -p "$work"
fresh
bash "$src/check_cd.sh" "$work/cd" >/dev/null && ok "complete folder accepted" || bad "complete folder refused"

fresh; rm "$work/cd/Korvane6/DISK1/setup.exe"; refused "missing Korvane 6 set-up" "Korvane6/DISK1/setup.exe"
fresh; rm "$work/cd/Xmanager/DISK1/setup.exe"; refused "missing Xmanager set-up" "Xmanager/DISK1/setup.exe"
fresh; rm "$work/cd/Korvane6 Installation_ita.rtf"; refused "missing Italian notes" "Korvane6 Installation_ita.rtf"
fresh; sed -i 's/open=Korvane6Menu.exe/open=Start.exe/' "$work/cd/autorun.inf"; refused "autorun naming a missing file" "Start.exe"

# A real set-up folder replaces the stand-in, with all its files.
mkdir -p "$work/realsetup"; echo data > "$work/realsetup/data1.cab"; cp "$stub" "$work/realsetup/setup.exe"
bash "$src/layout_cd.sh" "$work/cd" "$menu" "$stub" "" "$work/realsetup" >/dev/null
[ -f "$work/cd/Korvane6/DISK1/data1.cab" ] && ok "real set-up folder copied" || bad "real set-up folder not copied"

fresh
if bash "$src/make_iso.sh" "$work/cd" "$work/cd.iso" >/dev/null 2>&1; then
  # The Joliet tree is what Windows reads: so it is listed with Rock Ridge,
  # which xorriso would prefer, left unread.
  listing=$(xorriso -read_fs norock -indev "$work/cd.iso" -find / -type f 2>/dev/null)
  for f in "/Korvane6Menu.exe" "/autorun.inf" "/Xmanager/DISK1/setup.exe" "/Korvane6/DISK1/setup.exe" \
           "/Korvane6 Installation_ger.rtf" "/Korvane6 Installation_spa.rtf"; do
    grep -qxF "'$f'" <<<"$listing" || grep -qxF "$f" <<<"$listing" && ok "ISO holds $f" || bad "ISO lacks $f: $listing"
  done
else
  bad "make_iso.sh failed"
fi

# Laid out again elsewhere, later, with other modes: the same image.
export SOURCE_DATE_EPOCH=1000000000
mkdir -p "$work/one" && fresh && bash "$src/make_iso.sh" "$work/cd" "$work/one/cd.iso" >/dev/null 2>&1
sleep 1
bash "$src/layout_cd.sh" "$work/again/cd" "$menu" "$stub" >/dev/null && chmod -R go-rx "$work/again/cd"
mkdir -p "$work/two" && bash "$src/make_iso.sh" "$work/again/cd" "$work/two/cd.iso" >/dev/null 2>&1
cmp -s "$work/one/cd.iso" "$work/two/cd.iso" && ok "two layouts give the same image" ||
  bad "two layouts give different images: $(cmp "$work/one/cd.iso" "$work/two/cd.iso" 2>&1)"
cmp -s "$work/one/SHA256SUMS" "$work/two/SHA256SUMS" && ok "and the same sums" || bad "different sums"

# What support checks on a made CD: the image's MD5 sums, and a folder (a
# mounted disc) against SHA256SUMS. Each must notice one changed byte.
accepted() { bash "$src/check_cd.sh" "$@" >/dev/null 2>&1; }
accepted "$work/one/cd.iso" && ok "image's sums match" || bad "image refused: $(bash "$src/check_cd.sh" "$work/one/cd.iso" 2>&1)"
accepted "$work/cd" "$work/one/SHA256SUMS" && ok "folder matches SHA256SUMS" || bad "folder refused against its own sums"
# A burned disc carries no SHA256SUMS: its recorded MD5 sums alone must
# find the changed byte. Without --md5-only, an image without its sums is
# refused, not passed unchecked.
rm "$work/two/SHA256SUMS"
accepted "$work/two/cd.iso" && bad "an image without its SHA256SUMS was accepted" || ok "an image without its sums is refused"
accepted --md5-only "$work/two/cd.iso" || bad "an image refused by its own MD5 sums"
offset=$(LC_ALL=C grep -obUa 'label=KORVANE 6' "$work/two/cd.iso" | head -1 | cut -d: -f1)
printf 'X' | dd of="$work/two/cd.iso" bs=1 seek="$offset" conv=notrunc 2>/dev/null
accepted --md5-only "$work/two/cd.iso" && bad "an image with a changed byte (autorun.inf) passed its MD5 sums" ||
  ok "an image with a changed byte fails its MD5 sums"
printf 'X' | dd of="$work/cd/Korvane6/DISK1/setup.exe" bs=1 seek=100 conv=notrunc 2>/dev/null
accepted "$work/cd" "$work/one/SHA256SUMS" && bad "a folder with a changed set-up was accepted" ||
  ok "a folder with a changed set-up is refused"
xorriso -no_rc -as mkisofs -quiet -r --md5 -o "$work/nojoliet.iso" "$work/cd" >/dev/null 2>&1
out=$(bash "$src/check_cd.sh" --md5-only "$work/nojoliet.iso" 2>&1) && bad "an image without Joliet names was accepted" ||
  { grep -q "no Joliet" <<<"$out" && ok "an image without Joliet names is refused" || bad "refused for another reason: $out"; }
fresh; touch "$work/cd/Korvane6/DISK1/version.dll"
out=$(bash "$src/check_cd.sh" "$work/cd" "$work/one/SHA256SUMS" 2>&1) && bad "a folder with an extra file was accepted" ||
  { grep -qF "./Korvane6/DISK1/version.dll" <<<"$out" && ok "a folder with an extra file is refused" ||
    bad "the extra file is not named: $out"; }

echo "CdImage: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
