#!/bin/sh
# Full runs of the fuzz programs of one build under Wine, as a Markdown table.
#   reliability/fuzz/run_fuzz.sh <build dir> <wine loader> [count]
# e.g. run_fuzz.sh build/win32 /usr/lib/wine/wine
# count: inputs per program (default 1000000). The Wine prefix is the
# caller's (WINEPREFIX); a persistent wineserver saves start-up time, it is
# not needed. A program stops at the first broken rule; its row then says
# which rule, and the violation's own lines (the input in hex) follow the
# table. Exit status: 0 when every program ran clean, 1 when one found a
# violation or crashed, 2 on a usage error. The table is printed either way.
set -u

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
  echo "usage: $0 <build dir> <wine loader> [count]" >&2
  exit 2
fi
build=$1
wine=$2
count=${3:-1000000}
bin=$build/reliability/bin
programs="fuzz_decode_reg_data fuzz_encode_setting fuzz_prerequisites"
: "${WINEDEBUG:=-all}"
export WINEDEBUG

[ -x "$wine" ] || { echo "no Wine loader at $wine" >&2; exit 2; }
for p in $programs; do
  [ -f "$bin/$p.exe" ] || { echo "no $bin/$p.exe: build the fuzz targets first" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/run_fuzz.XXXXXX") || exit 2
trap 'rm -rf "$work"' EXIT
status=0

# The value of a "key value" line of a program's output, "?" when missing.
value() {
  v=$(sed -n "s/^$1 //p" "$2" | head -n 1)
  echo "${v:-?}"
}

echo "| Fuzz target | Program | Inputs | Failures | Seconds | Seed | Result |"
echo "|---|---|---:|---:|---:|---:|---|"
for p in $programs; do
  out=$work/$p.txt
  "$wine" "$bin/$p.exe" "$count" > "$out.raw" 2>&1
  rc=$?
  tr -d '\r' < "$out.raw" > "$out"
  case $rc in
    0) result="clean" ;;
    1) result="violation: $(sed -n 's/^FAIL \([^:]*\):.*/\1/p' "$out" | head -n 1)" ;;
    2) result="checker refused its own known answers or bad arguments" ;;
    3) result="crash" ;;
    *) result="exit code $rc" ;;
  esac
  [ "$rc" -eq 0 ] || status=1
  echo "| $(value target "$out") | $p | $(value inputs "$out") | $(value failures "$out") |" \
       "$(value seconds "$out") | $(value seed "$out") | $result |"
done

for p in $programs; do
  if grep -q '^FAIL\|^ORACLE' "$work/$p.txt"; then
    echo
    echo "$p:"
    echo '```'
    grep '^FAIL\|^ORACLE\|^input ' "$work/$p.txt" | cut -c1-2000
    echo '```'
  fi
done
exit $status
