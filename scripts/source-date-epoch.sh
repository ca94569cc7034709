#!/usr/bin/env bash
# Prints the time that the build stamps into what it makes (the programs' PE
# time stamp, the CD image's dates, the signing time), in seconds since 1970:
# SOURCE_DATE_EPOCH when it is set, else the time of the last commit of this
# checkout. Two builds of one commit so give the same bytes. Where git cannot
# tell (no repository, or one that git refuses to read, such as a tree owned
# by another user) this is an error that names git's reason: a silent
# fallback would give the same commit other dates depending on who builds it.
set -euo pipefail
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  [[ $SOURCE_DATE_EPOCH =~ ^[0-9]+$ ]] ||
    { echo "SOURCE_DATE_EPOCH must be whole seconds since 1970, not \"$SOURCE_DATE_EPOCH\"" >&2; exit 1; }
  echo "$SOURCE_DATE_EPOCH"
  exit 0
fi
tree=$(cd "$(dirname "$0")/.." && pwd)
if ! epoch=$(git -C "$tree" log -1 --format=%ct 2>&1) || ! [[ $epoch =~ ^[0-9]+$ ]]; then
  echo "The build's date cannot be taken from git in $tree: ${epoch:-no commit}" >&2
  echo "Set SOURCE_DATE_EPOCH (seconds since 1970) to build without it." >&2
  exit 1
fi
echo "$epoch"
