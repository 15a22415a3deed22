#!/usr/bin/env bash
# Signs a package file with osslsigncode, after checking that the certificate's subject is the manifest's
# publisher: Windows refuses a package whose publisher and signer differ.
# Usage: sign-package.sh UNSIGNED.msix SIGNED.msix CERT.pem KEY.pem PUBLISHER
set -euo pipefail
[ $# -eq 5 ] || { echo "usage: sign-package.sh UNSIGNED.msix SIGNED.msix CERT.pem KEY.pem PUBLISHER" >&2; exit 2; }
unsigned=$1 signed=$2 cert=$3 key=$4 publisher=$5
# RFC 2253 lists the parts in the manifest's order, most specific first, separated by bare commas.
subject=$(openssl x509 -in "$cert" -noout -subject -nameopt RFC2253 | sed 's/^subject=//')
if [ "$subject" != "${publisher//, /,}" ]; then
  echo "sign-package: the certificate's subject \"$subject\" is not the publisher \"$publisher\"" >&2
  exit 1
fi
rm -f "$signed"
osslsigncode sign -certs "$cert" -key "$key" -in "$unsigned" -out "$signed" >/dev/null
