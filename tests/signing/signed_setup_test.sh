#!/usr/bin/env bash
# signed_setup_test.sh SOURCE_DIR WORK_DIR UNSIGNED_SETUP SETUP_INSPECT
# Makes a throwaway root, a code-signing certificate and a timestamp authority issued
# by it, signs a copy of setup.exe through the build's signing options, and checks the
# signature with osslsigncode; then that removing it gives back the unsigned bytes and
# that setup-inspect reports the same of both. Leaves WORK_DIR/build/setup.exe (signed) and
# WORK_DIR/tampered.exe (one byte changed) for the tests under Wine.
set -euo pipefail
source_dir=$1
work=$2
unsigned=$3
inspect=$4

rm -rf "$work"
mkdir -p "$work"
cd "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

# Quiet openssl; its messages only on failure.
ossl() { openssl "$@" 2>openssl.log || { cat openssl.log >&2; exit 1; }; }
ossl req -x509 -newkey rsa:2048 -nodes -keyout root.key -out root.pem -days 2 \
  -subj "/CN=Velbor Throwaway Root" \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign
issue() {  # issue NAME SUBJECT EXTENDED_KEY_USAGE
  ossl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "$2"
  printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=%s\n' "$3" >"$1.ext"
  ossl x509 -req -in "$1.csr" -CA root.pem -CAkey root.key -CAcreateserial -days 2 \
    -extfile "$1.ext" -out "$1.pem"
}
issue signer "/O=Velbor S.r.l./CN=Velbor Throwaway Signer" codeSigning
issue tsa "/CN=Velbor Throwaway Timestamps" critical,timeStamping

VELBOR_SIGN_PASSWORD=$(openssl rand -hex 16)
export VELBOR_SIGN_PASSWORD
# The chain and an encrypted key, named below relative to this folder: the build must
# find them here, not in its own folder.
cat signer.pem root.pem >signer-chain.pem
ossl pkey -in signer.key -aes256 -passout env:VELBOR_SIGN_PASSWORD -out signer-encrypted.key

# A timestamp without a network needs osslsigncode 2.7 or later.
version=$(osslsigncode --version 2>&1 | sed -n 's/^osslsigncode \([0-9.]*\).*/\1/p' | head -n1)
timestamped=no
options=""
if printf '2.7\n%s\n' "$version" | sort -V -C; then
  timestamped=yes
  options="-TSA-certs;$work/tsa.pem;-TSA-key;$work/tsa.key;-TSA-time;$(date +%s)"
else
  echo "osslsigncode $version cannot timestamp without a network (2.7 or later can): the timestamp is not checked"
fi

# The build signs with the osslsigncode that it found, not the first in PATH.
mkdir decoy && printf '#!/bin/sh\nexit 1\n' >decoy/osslsigncode && chmod +x decoy/osslsigncode
cmake -S "$source_dir/tests/signing/project" -B build -G Ninja \
  -DVELBOR_SOURCE_DIR="$source_dir" -DVELBOR_UNSIGNED_SETUP="$unsigned" \
  -DVELBOR_SIGN_CERT=signer-chain.pem -DVELBOR_SIGN_KEY=signer-encrypted.key \
  -DVELBOR_SIGN_URL=https://www.velbor.example/ "-DVELBOR_SIGN_OPTIONS=$options" >configure.log
# A sign-setup killed while osslsigncode reads the password leaves no file that
# holds it.
mkdir -p killed/tmp && printf 'MZ' >killed/in.exe
cat >killed/osslsigncode <<'KILLER'
#!/bin/sh
while [ "$1" != -readpass ]; do shift; done
cat "$2" >"$(dirname "$0")/read"
kill -9 "$PPID"
KILLER
chmod +x killed/osslsigncode
(TMPDIR=$PWD/killed/tmp VELBOR_SIGN_PASSWORD=killed-while-signing "$source_dir/scripts/sign-setup" \
  "$PWD/killed/osslsigncode" killed/in.exe killed/out.exe -n Setup) 2>/dev/null || true
[ "$(cat killed/read)" = killed-while-signing ] || fail "the password did not reach osslsigncode"
! grep -rqF killed-while-signing killed/tmp killed/in.exe ||
  fail "a killed sign-setup left the password in a file"

# A wrong password fails the build and leaves nothing named setup.exe.
! VELBOR_SIGN_PASSWORD=wrong cmake --build build >wrong.log 2>&1 || fail "a wrong password signed"
[ -z "$(find build -maxdepth 1 -name 'setup.exe*')" ] || fail "a wrong password left a setup.exe"
PATH="$work/decoy:$PATH" cmake --build build -v >build.log 2>&1 ||
  { cat build.log >&2; fail "the signing build failed"; }
[ -x build/setup.exe ] || fail "the signed setup.exe is no longer executable"
! grep -rqF "$VELBOR_SIGN_PASSWORD" configure.log build.log build/CMakeCache.txt build/build.ninja ||
  fail "the password was printed or stored"

osslsigncode verify -CAfile root.pem -TSA-CAfile root.pem -in build/setup.exe >verify.log 2>&1 ||
  { cat verify.log >&2; fail "the signed setup.exe does not verify against the throwaway root"; }
grep -q "Velbor Throwaway Signer" verify.log || { cat verify.log >&2; fail "the signer is not named"; }
for line in "Message digest algorithm  : SHA256" "Text description: Setup" \
    "URL description: https://www.velbor.example/"; do
  grep -qF "$line" verify.log || { cat verify.log >&2; fail "no \"$line\""; }
done
if [ "$timestamped" = yes ]; then
  grep -q "Timestamp Server Signature verification: ok" verify.log &&
    grep -q "Velbor Throwaway Timestamps" verify.log || { cat verify.log >&2; fail "no timestamp"; }
fi

# One byte of the payload changed, well inside the signed part of the file.
cp build/setup.exe tampered.exe
offset=$(($(stat -c %s tampered.exe) / 2))
byte=$(od -An -tu1 -j "$offset" -N1 tampered.exe | tr -d ' ')
printf "$(printf '\\%03o' $(((byte + 1) % 256)))" | dd of=tampered.exe bs=1 seek="$offset" conv=notrunc status=none
if osslsigncode verify -CAfile root.pem -TSA-CAfile root.pem -in tampered.exe >tampered.log 2>&1; then
  fail "a changed byte still verifies"
fi
grep -qi "mismatch" tampered.log || { cat tampered.log >&2; fail "the failure is not a digest mismatch"; }
echo "signed, verified$([ "$timestamped" = yes ] && echo ", timestamped"), and a changed byte detected"

# What a maker does to check a shipped setup.exe against its sources.
osslsigncode remove-signature -in build/setup.exe -out unsigned-again.exe >remove.log 2>&1 ||
  { cat remove.log >&2; fail "the signature cannot be removed"; }
cmp -s unsigned-again.exe "$unsigned" || fail "without its signature the signed setup.exe differs"
"$inspect" "$unsigned" >unsigned-report.txt || fail "setup-inspect finds faults in setup.exe"
"$inspect" build/setup.exe >signed-report.txt || fail "setup-inspect finds faults in the signed setup.exe"
cmp -s unsigned-report.txt signed-report.txt || fail "setup-inspect reports the signed copy differently"
echo "without its signature it is the unsigned setup.exe, and setup-inspect reports both alike"
