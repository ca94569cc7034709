#!/usr/bin/env bash
# Tests of the menu's signing, with a throwaway code-signing certificate made
# here: the signed menu verifies, and stops verifying when one byte changes;
# signed twice it is the same file, and without its signature it is the
# build again; a certificate that is not for code signing is refused.
#   test_sign.sh <cd source dir> <menu exe> <scratch dir>
set -uo pipefail
src=$1 menu=$2 work=$3
passed=0 failed=0
ok() { echo "ok: $1"; passed=$((passed + 1)); }
bad() { echo "FAILED: $1"; failed=$((failed + 1)); }

rm -rf "$work" && mkdir -p "$work"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Korvane throwaway signer" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null &&
  openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/test.pfx" -passout pass:s3cret ||
  { echo "FAILED: no throwaway certificate"; exit 1; }
export SOURCE_DATE_EPOCH=1000000000 KORVANE_SIGN_PASSWORD=s3cret
verifies() { osslsigncode verify -in "$1" -CAfile "$work/cert.pem" >/dev/null 2>&1; }

cp "$menu" "$work/one.exe" && cp "$menu" "$work/two.exe"
if bash "$src/sign_menu.sh" "$work/one.exe" "$work/test.pfx" >/dev/null && verifies "$work/one.exe"; then
  ok "signed menu verifies"
else
  bad "signing or verification failed"
fi
cp "$work/one.exe" "$work/changed.exe"
printf 'X' | dd of="$work/changed.exe" bs=1 seek=4096 conv=notrunc 2>/dev/null
verifies "$work/changed.exe" && bad "a signed menu with a changed byte still verifies" || ok "a changed byte fails"

bash "$src/sign_menu.sh" "$work/two.exe" "$work/test.pfx" >/dev/null 2>&1
cmp -s "$work/one.exe" "$work/two.exe" && ok "signed twice, the same bytes" || bad "two signings differ"
osslsigncode remove-signature -in "$work/one.exe" -out "$work/unsigned.exe" >/dev/null 2>&1
cmp -s "$work/unsigned.exe" "$menu" && ok "without its signature, the build" || bad "the signature removed is not the build"

# A certificate made for something else (here TLS servers) signs nothing:
# the menu is left as it was.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Korvane web server" \
  -addext "extendedKeyUsage=serverAuth" -keyout "$work/tls.key" -out "$work/tls.pem" 2>/dev/null &&
  openssl pkcs12 -export -inkey "$work/tls.key" -in "$work/tls.pem" -out "$work/tls.pfx" -passout pass:s3cret
cp "$menu" "$work/three.exe"
if out=$(bash "$src/sign_menu.sh" "$work/three.exe" "$work/tls.pfx" 2>&1); then
  bad "a certificate not for code signing was taken"
elif grep -q "not one for code signing" <<<"$out" && cmp -s "$work/three.exe" "$menu"; then
  ok "a certificate not for code signing is refused, the menu left unsigned"
else
  bad "refused for another reason, or the menu changed: $out"
fi

echo "CdSigning: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
