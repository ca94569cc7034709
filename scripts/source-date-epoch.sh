#!/usr/bin/env bash
# Prints the time that the build stamps into what it makes (the programs' PE
# time stamp, the CD image's dates, the signing time), in seconds since 1970:
# SOURCE_DATE_EPOCH when it is set, else the time of the last commit of this
# checkout, else 0. Two builds of one commit so give the same bytes.
set -euo pipefail
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  [[ $SOURCE_DATE_EPOCH =~ ^[0-9]+$ ]] ||
    { echo "SOURCE_DATE_EPOCH must be whole seconds since 1970, not \"$SOURCE_DATE_EPOCH\"" >&2; exit 1; }
  echo "$SOURCE_DATE_EPOCH"
else
  git -C "$(dirname "$0")/.." log -1 --format=%ct 2>/dev/null || echo 0
fi
