#!/usr/bin/env bash
# Makes a self-signed code-signing certificate and its key for signing test packages. Its subject is the
# package's publisher, which Windows requires of the signer; only a machine that trusts it accepts the package.
# Usage: make-test-certificate.sh PUBLISHER CERT.pem KEY.pem    (PUBLISHER as in the manifest, e.g. "CN=Velmora")
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: make-test-certificate.sh PUBLISHER CERT.pem KEY.pem" >&2; exit 2; }
publisher=$1 cert=$2 key=$3
# The manifest lists the name's parts from the most specific (CN) on; openssl's -subj wants them the other way.
subject=
IFS=',' read -ra parts <<<"$publisher"
for part in "${parts[@]}"; do subject="/${part# }$subject"; done
openssl req -x509 -newkey rsa:3072 -nodes -sha256 -days 3650 -subj "$subject" \
  -addext "basicConstraints=critical,CA:FALSE" -addext "keyUsage=critical,digitalSignature" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$key" -out "$cert" 2>/dev/null
