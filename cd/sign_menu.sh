#!/usr/bin/env bash
# Signs the start menu with SHA-256 Authenticode, in place, and verifies the
# signature; a menu that does not verify is left as it was, exit 1.
#   sign_menu.sh <menu.exe> <certificate.pfx> [time-stamp server URL]
# The PFX's password comes from KORVANE_SIGN_PASSWORD (empty when unset) and
# reaches no command line. Its certificate must be one for code signing (the
# Extended Key Usage "Code Signing"). Without a time-stamp server the signing
# time is SOURCE_DATE_EPOCH (by default the time of the last commit), so the
# same build signed twice gives the same bytes; such a signature stops
# verifying on Windows when the certificate expires. The signature is
# verified against the PFX's own certificates and the system's certificate
# authorities. Says who signed: the certificate's subject.
set -euo pipefail
exe=$1 pfx=$2 tsa=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
export KORVANE_SIGN_PASSWORD=${KORVANE_SIGN_PASSWORD:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# pkcs12 <openssl pkcs12 options>: OpenSSL 3 reads an older PFX (RC2, as
# Windows exported them) only as legacy.
pkcs12() {
  openssl pkcs12 -in "$pfx" -passin env:KORVANE_SIGN_PASSWORD "$@" 2>/dev/null ||
    openssl pkcs12 -legacy -in "$pfx" -passin env:KORVANE_SIGN_PASSWORD "$@" 2>"$work/log" ||
    { cat "$work/log" >&2; echo "Cannot read $pfx (is KORVANE_SIGN_PASSWORD its password?): $exe stays unsigned" >&2; exit 1; }
}
pkcs12 -nokeys -clcerts -out "$work/signer.pem"
pkcs12 -nokeys -out "$work/trust.pem"
signer=$(openssl x509 -in "$work/signer.pem" -noout -subject -nameopt RFC2253 | sed 's/^subject=//')
if ! openssl x509 -in "$work/signer.pem" -noout -ext extendedKeyUsage 2>/dev/null | grep -q 'Code Signing'; then
  echo "The certificate of $signer in $pfx is not one for code signing (no \"Code Signing\" in its Extended Key Usage): $exe stays unsigned" >&2
  exit 1
fi

if [ -n "$tsa" ]; then
  when=(-ts "$tsa")
else
  when=(-time "$("$here/../scripts/source-date-epoch.sh")")
fi
osslsigncode sign -pkcs12 "$pfx" -readpass <(printf '%s' "$KORVANE_SIGN_PASSWORD") -h sha256 \
  -n "Korvane 6 installation CD" "${when[@]}" -in "$exe" -out "$work/signed.exe" >"$work/log" 2>&1 ||
  { cat "$work/log" >&2; echo "Could not sign $exe with $pfx" >&2; exit 1; }

[ -f /etc/ssl/certs/ca-certificates.crt ] && cat /etc/ssl/certs/ca-certificates.crt >>"$work/trust.pem"
if ! osslsigncode verify -in "$work/signed.exe" -CAfile "$work/trust.pem" ${tsa:+-TSA-CAfile "$work/trust.pem"} \
     >"$work/log" 2>&1; then
  cat "$work/log" >&2
  echo "The signed menu does not verify: $exe stays unsigned" >&2
  exit 1
fi
mv "$work/signed.exe" "$exe"
echo "Signed and verified: $exe, signed by $signer"
[ -n "$tsa" ] || echo "WARNING: not time-stamped: the signature stops verifying on Windows when the certificate of $signer expires; time-stamp (--timestamp URL) a CD that is to be pressed" >&2
