#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, if missing.
# The release is a 32-bit program: its tests run under Debian's 32-bit Wine
# (wine32:i386), so the i386 architecture is added first.
set -euo pipefail
pkgs=(cmake g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 wine32:i386 fonts-wine xvfb xdotool
      imagemagick icoutils xorriso libasound2-plugins googletest python3-pil fonts-dejavu-core
      fonts-dejavu-extra x11-xserver-utils
      # The X extensions that 32-bit Wine loads at run time (screen modes,
      # pointer input, cursors): recommended by wine32, so not pulled in here.
      libxrandr2:i386 libxrender1:i386 libxi6:i386 libxcursor1:i386 libxfixes3:i386
      libxinerama1:i386 libxcomposite1:i386 libxxf86vm1:i386)
sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
  added_arch=1
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ -n "${added_arch:-}" ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
