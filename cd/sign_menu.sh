#!/usr/bin/env bash
# Signs the start menu with SHA-256 Authenticode, in place, and verifies the
# signature; a menu that does not verify is left as it was, exit 1.
#   sign_menu.sh <menu.exe> <certificate.pfx> [time-stamp server URL]
# The PFX's password comes from KORVANE_SIGN_PASSWORD (empty when unset) and
# reaches no command line. Without a time-stamp server the signing time is
# SOURCE_DATE_EPOCH (by default the time of the last commit), so the same
# build signed twice gives the same bytes. The signature is verified against
# the PFX's own certificates and the system's certificate authorities.
set -euo pipefail
exe=$1 pfx=$2 tsa=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
export KORVANE_SIGN_PASSWORD=${KORVANE_SIGN_PASSWORD:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ -n "$tsa" ]; then
  when=(-ts "$tsa")
else
  when=(-time "$("$here/../scripts/source-date-epoch.sh")")
fi
osslsigncode sign -pkcs12 "$pfx" -readpass <(printf '%s' "$KORVANE_SIGN_PASSWORD") -h sha256 \
  -n "Korvane 6 installation CD" "${when[@]}" -in "$exe" -out "$work/signed.exe" >"$work/log" 2>&1 ||
  { cat "$work/log" >&2; echo "Could not sign $exe with $pfx" >&2; exit 1; }

# OpenSSL 3 reads an older PFX (RC2, as Windows exported them) only as legacy.
openssl pkcs12 -in "$pfx" -nokeys -passin env:KORVANE_SIGN_PASSWORD -out "$work/trust.pem" 2>/dev/null ||
  openssl pkcs12 -legacy -in "$pfx" -nokeys -passin env:KORVANE_SIGN_PASSWORD -out "$work/trust.pem"
[ -f /etc/ssl/certs/ca-certificates.crt ] && cat /etc/ssl/certs/ca-certificates.crt >>"$work/trust.pem"
if ! osslsigncode verify -in "$work/signed.exe" -CAfile "$work/trust.pem" ${tsa:+-TSA-CAfile "$work/trust.pem"} \
     >"$work/log" 2>&1; then
  cat "$work/log" >&2
  echo "The signed menu does not verify: $exe stays unsigned" >&2
  exit 1
fi
mv "$work/signed.exe" "$exe"
echo "Signed and verified: $exe"
