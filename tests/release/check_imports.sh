#!/usr/bin/env bash
# The release must load on the oldest Windows it supports, so every function
# it imports must exist there. Wine exports every function whatever Windows
# version it reports, so no run can show this; the import table can.
#
# Each name imported from a Windows system DLL is compiled against the
# mingw-w64 SDK headers with _WIN32_WINNT set to the floor: a function that
# came with Vista or later (GetTickCount64) is not declared there. Those
# headers do not tell Windows 2000 from XP, though (GetModuleHandleExW, new
# in XP, is declared for 0x0500), so every such name must also be in a list
# of functions checked, each in its documentation, to exist on Windows 2000.
# msvcrt.dll has no version gates in the headers at all; its names must be in
# the list below: the classic C runtime that msvcrt.dll has carried since
# Windows 2000. Any other DLL fails, and so does an import by ordinal.
#
#   check_imports.sh <objdump> <C compiler> <floor, e.g. 0x0500> <list> <exe> ["DLL name"...]
# Extra "DLL name" pairs are checked as if imported (the check's own test).
set -euo pipefail
objdump=$1 cc=$2 floor=$3 list=$4 exe=$5
shift 5

msvcrt_names=" __getmainargs __initenv __mb_cur_max __p__acmdln __p__commode __p__fmode __set_app_type
  __setusermatherr _amsg_exit _cexit _errno _initterm _iob _onexit _close _read abort atoi calloc exit
  fprintf fputc fputs fputwc free fwprintf fwrite localeconv malloc memchr memcmp memcpy memmove memset
  realloc setlocale signal strchr strcmp strerror strlen strncmp strtol vfprintf wcslen "
msvcrt_names=" $(echo $msvcrt_names) "  # one blank between names, and at both ends

# "DLL name" per line; a name-less entry (by ordinal) keeps only its DLL.
imports=$("$objdump" -p "$exe" | awk '
  /^\tDLL Name: / { dll = $3; next }
  /^\tvma:/ { next }
  dll != "" && /^\t[0-9a-f]+\t/ { if (NF >= 3) print dll, $3; else print dll, "<ordinal>"; next }
  /^$/ { dll = "" }')
for extra in "$@"; do imports+=$'\n'"$extra"; done
[ -n "$imports" ] || { echo "no imports found in $exe"; exit 1; }

failed=0
system=()
while read -r dll name; do
  [ -n "$dll" ] || continue
  if [ "$name" = "<ordinal>" ]; then
    echo "FAILED: $dll is imported by ordinal"; failed=1; continue
  fi
  case ${dll,,} in
    msvcrt.dll)
      [[ $msvcrt_names == *" $name "* ]] || { echo "FAILED: msvcrt.dll!$name is not in the list of the classic C runtime"; failed=1; } ;;
    kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|shell32.dll|winmm.dll|ole32.dll|comctl32.dll)
      system+=("$name")
      grep -qix "${dll%.*}!$name" "$list" || {
        echo "FAILED: $dll!$name is not in $list: check in its documentation that Windows 2000 has it, then add it"
        failed=1
      } ;;
    *)
      echo "FAILED: $dll!$name: $dll is not a DLL of every Windows"; failed=1 ;;
  esac
done <<<"$imports"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{
  echo '#include <windows.h>'
  echo '#include <mmsystem.h>'
  echo '#include <shellapi.h>'
  echo '#include <objbase.h>'
  echo '#include <commctrl.h>'
  echo 'void *const imports[] = {'
  for name in "${system[@]}"; do echo "  (void *)&$name,"; done
  echo '};'
} > "$work/imports.c"
if ! LC_ALL=C "$cc" -fsyntax-only -std=c11 -D_WIN32_WINNT="$floor" -DWINVER="$floor" -D_WIN32_IE=0x0500 \
     "$work/imports.c" 2>"$work/errors"; then
  grep -o "'[A-Za-z0-9_]*' undeclared" "$work/errors" | sort -u |
    sed "s/^'\(.*\)' undeclared/FAILED: \1 is not declared for _WIN32_WINNT=$floor: later than the oldest supported Windows/" || true
  grep -q "undeclared" "$work/errors" || cat "$work/errors"
  failed=1
fi

count=$(grep -c . <<<"$imports")
if [ "$failed" -ne 0 ]; then
  echo "$exe: imports that the oldest supported Windows (_WIN32_WINNT=$floor) lacks"
  exit 1
fi
echo "$exe: all $count imports exist on _WIN32_WINNT=$floor"
