#!/usr/bin/env bash
# Shows the files of a CD image in a folder that cannot be written, as a CD
# drive shows them; for tests that start the menu from a real CD drive of Wine.
#   mount_cd.sh <image.iso> <dir>    extract the image's Joliet tree into dir, read-only
#   mount_cd.sh --remove <dir>       undo
# Read-only is a read-only bind mount of the folder onto itself where this
# user may mount (root), or else the files' permissions alone.
set -euo pipefail
if [ "$1" = --remove ]; then
  dir=$2
  while mountpoint -q "$dir"; do umount "$dir"; done
  [ -d "$dir" ] && chmod -R u+w "$dir" && rm -rf "$dir"
  exit 0
fi
iso=$1 dir=$2
"$0" --remove "$dir"
mkdir -p "$dir"
# Windows reads the Joliet tree (the plain ISO 9660 names where there is
# none), never Rock Ridge: so xorriso must not load Rock Ridge either.
xorriso -osirrox on -read_fs norock -indev "$iso" -extract / "$dir" >/dev/null 2>&1
chmod -R a-w "$dir"
if mount --bind "$dir" "$dir" 2>/dev/null; then
  mount -o remount,bind,ro "$dir" "$dir" 2>/dev/null || umount "$dir"
fi
