#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, if missing.
# The release is a 32-bit program: its tests run under Debian's 32-bit Wine
# (wine32:i386), so the i386 architecture is added first. Where the kernel
# runs no 32-bit program, QEMU's i386 user-mode emulator is set up to run
# them (below); where neither works, 32-bit Wine is not installed at all;
# where it cannot be installed, everything else still is. Either way the twin
# builds and runs its tests, and the scripts report the release's suite as
# skipped, with the reason (kept in build/wine32-missing.txt).
#
# Nothing is installed from a package list that apt could not verify against
# the signed index of its mirror: apt itself leaves such a list out. A mirror
# in the middle of a sync serves one now and then (seen for weeks with the
# security mirror's i386 list), and then the i386 twins of the libraries
# updated from it cannot be matched, so 32-bit Wine cannot be installed. Only
# KORVANE_ALLOW_UNVERIFIED_LISTS=1 takes such lists as the mirror serves them,
# for the install of 32-bit Wine alone, and says so: the packages they name
# are still checked against the hashes in them, but no signature vouches for
# those hashes.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
pkgs=(cmake g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 fonts-wine xvfb xdotool
      imagemagick icoutils xorriso libasound2-plugins googletest python3-pil fonts-dejavu-core
      fonts-dejavu-extra x11-xserver-utils clang-format git curl xz-utils osslsigncode openssl)
pkgs32=(wine32:i386
      # The X extensions that 32-bit Wine loads at run time (screen modes,
      # pointer input, cursors): recommended by wine32, so not pulled in here.
      libxrandr2:i386 libxrender1:i386 libxi6:i386 libxcursor1:i386 libxfixes3:i386
      libxinerama1:i386 libxcomposite1:i386 libxxf86vm1:i386)
sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo

missing_of() {  # missing_of <package>...: those not installed
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

apt_install() { DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "$@"; }

updated=""
# A mirror in the middle of a sync fails a list now and then: an update that
# fails in part still leaves the verified lists usable, so the install
# decides, and the pair is tried three times.
install() {  # install <package>...; fails when they could not be installed
  local try
  echo "Installing: $*"
  for try in 1 2 3; do
    if [ -z "$updated" ] || [ "$try" -gt 1 ]; then
      $sudo apt-get update -q || echo "apt-get update failed in part (try $try)"
      updated=1
    fi
    apt_install "$@" && return 0
    [ "$try" -lt 3 ] && sleep 20
  done
  return 1
}

# The i386 package lists that the mirror served but apt could not verify:
# of another size or hash than the signed Release names. Only these are
# ever taken: 32-bit Wine needs nothing else.
unverified_lists() {
  $sudo apt-get update -q 2>&1 |
    sed -n 's/^E: Failed to fetch \(http[^ ]*binary-i386\/Packages\.xz\) *\(File has unexpected size\|Hash Sum mismatch\).*/\1/p' |
    sort -u
}

# Installs 32-bit Wine from the lists given as they are served. A list
# reaches apt's folder only once it is fetched and unpacked whole, and
# whatever happens (a failure, Ctrl-C, a kill) the lists taken are removed
# afterwards and any list of the same name that apt had is put back, so
# that nothing else apt does on this machine relies on them.
taken=()
put_lists_back() {
  local name
  for name in "${taken[@]}"; do
    if [ -e "$name.korvane-saved" ]; then $sudo mv -f "$name.korvane-saved" "$name"; else $sudo rm -f "$name"; fi
    $sudo rm -f "$name.korvane-new"
  done
  taken=()
  rm -rf "${fetched:-}"
}
install_from_unverified() {  # install_from_unverified <list url>...
  local url name rc=0
  trap put_lists_back EXIT
  trap 'exit 130' INT TERM
  fetched=$(mktemp -d)
  for url in "$@"; do
    name=/var/lib/apt/lists/$(echo "${url#*://}" | sed 's/\.xz$//; s|/|_|g')
    echo "KORVANE_ALLOW_UNVERIFIED_LISTS=1: taking $url as served, unverified"
    curl -fsS -o "$fetched/list.xz" "$url" && xz -dc "$fetched/list.xz" >"$fetched/list" || { rc=1; break; }
    # A hard link keeps apt's own list, if any, whole and in place.
    [ ! -e "$name" ] || $sudo ln -f "$name" "$name.korvane-saved"
    taken+=("$name")
    $sudo cp "$fetched/list" "$name.korvane-new" && $sudo mv -f "$name.korvane-new" "$name" || { rc=1; break; }
  done
  [ "$rc" -eq 0 ] && { apt_install "${missing32[@]}" || rc=1; }
  put_lists_back
  trap - EXIT INT TERM
  return $rc
}

no_wine32() {  # no_wine32 <why>: said now, and kept for the scripts' skip reason
  mkdir -p "$(dirname "$WINE32_NOTE")"
  echo "$1" >"$WINE32_NOTE"
  echo "WARNING: 32-bit Wine is not installed: $1; the release's tests will be skipped" >&2
}

# QEMU's i386 user-mode emulator, for a kernel that runs no 32-bit code: the
# package from the backports suite (10.0 starts a 32-bit Wine program in about
# 1.5 s, the stable suite's 7.2 in about a minute), taken alone, so nothing else
# comes from that suite; then registered with binfmt_misc for i386 ELF
# programs. The F flag has the kernel open the emulator once, at registration,
# so it is found from every mount namespace and chroot. On failure it says
# why in $NO_EMULATION, in a few words.
set_up_emulation() {
  local codename mirror have qemu=/usr/bin/qemu-i386
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  have=$(dpkg-query -W -f='${Version}' qemu-user 2>/dev/null || true)
  if [ -z "$have" ] || dpkg --compare-versions "$have" lt 1:10; then
    [ -n "$codename" ] || { NO_EMULATION="the Debian release is unknown (no VERSION_CODENAME)"; return 1; }
    [ -n "$updated" ] || { $sudo apt-get update -q >/dev/null 2>&1 || true; updated=1; }
    if ! apt-cache policy | grep -q " $codename-backports/main "; then
      # The backports suite from the mirror that serves the release itself.
      mirror=$(apt-cache policy | awk -v s="$codename/main" '$3 == s && $2 ~ /^https?:/ { print $2; exit }')
      [ -n "$mirror" ] || { NO_EMULATION="no mirror of $codename is in apt's sources"; return 1; }
      printf 'Types: deb\nURIs: %s\nSuites: %s-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
        "$mirror" "$codename" | $sudo tee /etc/apt/sources.list.d/korvane-backports.sources >/dev/null
      echo "Added $codename-backports ($mirror) to apt's sources, for qemu-user alone"
      updated=""
    fi
    install "qemu-user/$codename-backports" || { NO_EMULATION="qemu-user could not be installed from $codename-backports"; return 1; }
    [ -x "$qemu" ] || { NO_EMULATION="qemu-user has no $qemu"; return 1; }
  fi
  if [ ! -e "$BINFMT/register" ]; then
    $sudo mount -t binfmt_misc binfmt_misc "$BINFMT" || { NO_EMULATION="binfmt_misc could not be mounted"; return 1; }
  fi
  i386_handler >/dev/null && return 0
  echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' |
    $sudo tee "$BINFMT/register" >/dev/null || { NO_EMULATION="$qemu could not be registered with binfmt_misc"; return 1; }
  echo "Registered $qemu for i386 programs ($BINFMT/qemu-i386)"
}

mapfile -t missing < <(missing_of "${pkgs[@]}")
if [ ${#missing[@]} -gt 0 ]; then
  install "${missing[@]}" || { echo "Could not install: ${missing[*]}" >&2; exit 1; }
fi

rm -f "$WINE32_NOTE"
# A machine that runs 32-bit programs (natively, or through an emulator that
# is already registered) is left as it is; only where the probe fails is the
# emulator set up. KORVANE_EMULATE=1 sets it up all the same, to run the
# release as the machines without IA-32 run it; KORVANE_NO_EMULATION=1 never.
forced() { [ "${KORVANE_EMULATE:-}" = 1 ] && [ "${KORVANE_NO_EMULATION:-}" != 1 ] && ! i386_handler >/dev/null; }
if forced || ! runs_i386; then
  if [ "${KORVANE_NO_EMULATION:-}" = 1 ]; then
    no_wine32 "this machine cannot run 32-bit programs, and KORVANE_NO_EMULATION=1 asks for no emulator"
    exit 0
  fi
  set_up_emulation || { no_wine32 "this machine cannot run 32-bit programs, and $NO_EMULATION"; exit 0; }
  runs_i386 || { no_wine32 "32-bit programs do not start even with the emulator registered ($(i386_handler || echo "no handler"))"; exit 0; }
  echo "32-bit programs run here $(how_i386_runs)"
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
  added_arch=1
  # apt knows no i386 package until its lists are read again.
  updated=""
fi
mapfile -t missing32 < <(missing_of "${pkgs32[@]}")
if [ ${#missing32[@]} -gt 0 ] || [ -n "${added_arch:-}" ]; then
  [ ${#missing32[@]} -gt 0 ] || missing32=("${pkgs32[@]}")
  if ! install "${missing32[@]}"; then
    mapfile -t lists < <(unverified_lists)
    if [ ${#lists[@]} -eq 0 ]; then
      no_wine32 "apt-get could not install ${missing32[*]}"
    elif [ "${KORVANE_ALLOW_UNVERIFIED_LISTS:-}" != 1 ]; then
      no_wine32 "it needs packages from lists that apt could not verify (${lists[*]}), and nothing is installed from those; KORVANE_ALLOW_UNVERIFIED_LISTS=1 takes them as served"
    elif ! install_from_unverified "${lists[@]}"; then
      no_wine32 "apt-get could not install ${missing32[*]}, even from the unverified lists"
    fi
  fi
fi
exit 0
