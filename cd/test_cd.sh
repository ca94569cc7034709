#!/usr/bin/env bash
# Tests of the CD tooling: a complete folder passes the check and becomes an
# ISO with every file at its place; each kind of gap is refused.
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
  # The Joliet tree is what Windows reads.
  listing=$(xorriso -rockridge off -joliet on -indev "$work/cd.iso" -find / -type f 2>/dev/null)
  for f in "/Korvane6Menu.exe" "/autorun.inf" "/Xmanager/DISK1/setup.exe" "/Korvane6/DISK1/setup.exe" \
           "/Korvane6 Installation_ger.rtf" "/Korvane6 Installation_spa.rtf"; do
    grep -qxF "'$f'" <<<"$listing" || grep -qxF "$f" <<<"$listing" && ok "ISO holds $f" || bad "ISO lacks $f: $listing"
  done
else
  bad "make_iso.sh failed"
fi

echo "CdImage: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
