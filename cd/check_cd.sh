#!/usr/bin/env bash
# Refuses a CD folder that the start menu cannot work from: a missing set-up,
# a missing notes document, or an autorun.inf naming a file that is not there.
#   check_cd.sh <cd dir>      exit 0 when complete; otherwise says what is wrong, exit 1
set -uo pipefail
cd_dir=$1
problems=()
need() { [ -f "$cd_dir/$1" ] || problems+=("missing: $1"); }

need "Korvane6Menu.exe"
need "Xmanager/DISK1/setup.exe"
need "Korvane6/DISK1/setup.exe"
for lang in ger eng fra ita spa; do need "Korvane6 Installation_$lang.rtf"; done

if [ -f "$cd_dir/autorun.inf" ]; then
  # open= and icon= name files relative to the CD root; icon may add ",index".
  while IFS='=' read -r key value; do
    value=${value%$'\r'}
    case "${key,,}" in
      open) file=${value%% *} ;;
      icon) file=${value%%,*} ;;
      *) continue ;;
    esac
    [ -f "$cd_dir/${file//\\//}" ] || problems+=("autorun.inf $key= names a missing file: $file")
  done < "$cd_dir/autorun.inf"
else
  problems+=("missing: autorun.inf")
fi

if [ ${#problems[@]} -gt 0 ]; then
  echo "The CD folder $cd_dir is not complete:" >&2
  printf '  %s\n' "${problems[@]}" >&2
  exit 1
fi
echo "CD folder complete: $cd_dir"
