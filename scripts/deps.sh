#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, if missing.
# The release is a 32-bit program: its tests run under Debian's 32-bit Wine
# (wine32:i386), so the i386 architecture is added first. Without 32-bit Wine
# (a machine without i386 packages, or a mirror whose i386 lists are broken)
# everything else is still installed: the twin builds and runs its tests, and
# scripts/test.sh reports the release's suite as skipped, with the reason.
set -euo pipefail
pkgs=(cmake g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 fonts-wine xvfb xdotool
      imagemagick icoutils xorriso libasound2-plugins googletest python3-pil fonts-dejavu-core
      fonts-dejavu-extra x11-xserver-utils clang-format git curl xz-utils)
pkgs32=(wine32:i386
      # The X extensions that 32-bit Wine loads at run time (screen modes,
      # pointer input, cursors): recommended by wine32, so not pulled in here.
      libxrandr2:i386 libxrender1:i386 libxi6:i386 libxcursor1:i386 libxfixes3:i386
      libxinerama1:i386 libxcomposite1:i386 libxxf86vm1:i386)
sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
  added_arch=1
fi

missing_of() {  # missing_of <package>...: those not installed
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

apt_install() { DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "$@"; }

updated=""
# A mirror in the middle of a sync fails a list now and then: an update that
# fails in part still leaves usable lists, so the install decides, and the
# pair is tried three times.
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

# A list that a mirror serves with a size other than its signed Release names
# (seen for weeks with the security mirror's i386 list) makes apt leave that
# list out, and then the i386 twins of the libraries that were updated from it
# cannot be matched. As a last resort the list is taken as the mirror serves it
# and put where apt keeps its lists: the packages it names are still checked
# against its hashes, but the list itself is not against the signed Release, so
# this runs only after the ordinary install failed three times.
take_lists_as_served() {
  local url name
  for url in $($sudo apt-get update -q 2>&1 |
                 sed -n 's/^E: Failed to fetch \(http[^ ]*Packages\.xz\) *File has unexpected size.*/\1/p'); do
    name=$(echo "${url#*://}" | sed 's/\.xz$//; s|/|_|g')
    echo "Taking $url as served"
    curl -fsS "$url" | xz -dc | $sudo tee "/var/lib/apt/lists/$name" >/dev/null || return 1
  done
}

mapfile -t missing < <(missing_of "${pkgs[@]}")
if [ ${#missing[@]} -gt 0 ]; then
  install "${missing[@]}" || { echo "Could not install: ${missing[*]}" >&2; exit 1; }
fi
mapfile -t missing32 < <(missing_of "${pkgs32[@]}")
if [ ${#missing32[@]} -gt 0 ] || [ -n "${added_arch:-}" ]; then
  [ ${#missing32[@]} -gt 0 ] || missing32=("${pkgs32[@]}")
  install "${missing32[@]}" ||
    { take_lists_as_served &&
      apt_install "${missing32[@]}"; } ||
    echo "WARNING: 32-bit Wine could not be installed (${missing32[*]}): the release's tests will be skipped" >&2
fi
exit 0
