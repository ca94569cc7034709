#!/usr/bin/env bash
# Fails when clang-format would change a tracked C++ source: the style in
# .clang-format is the one the code is written in.
#   check_format.sh <source dir>
set -euo pipefail
cd "$1"
command -v clang-format >/dev/null || { echo "clang-format is not installed" >&2; exit 1; }
mapfile -t files < <(git ls-files '*.cpp' '*.h')
[ ${#files[@]} -gt 0 ] || { echo "no sources found under $1" >&2; exit 1; }
clang-format --dry-run --Werror "${files[@]}"
echo "${#files[@]} files formatted as .clang-format says"
