#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, if missing.
set -euo pipefail
pkgs=(cmake g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 xvfb xdotool imagemagick
      icoutils xorriso libasound2-plugins googletest python3-pil fonts-dejavu-core x11-xserver-utils)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
