#!/usr/bin/env python3
"""Checks a signed package with osslsigncode: its signature verifies against the signing certificate, the
signer is the manifest's publisher, and a copy with one payload byte changed is refused.

    check-signature.py PACKAGE.msix CERT.pem

Both copies are rewritten from the archive the same way, the one changed byte apart: the unchanged copy must
still verify, so the refusal is the changed byte's doing and not the rewriting's.
"""
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
import zipfile

FOUNDATION = "{http://schemas.microsoft.com/appx/manifest/foundation/windows10}"


def verify(package, cert):
    result = subprocess.run(["osslsigncode", "verify", "-in", package, "-CAfile", cert],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    return result.returncode == 0, result.stdout


def rewritten(source, target, change_byte):
    with zipfile.ZipFile(source) as original, zipfile.ZipFile(target, "w") as copy:
        for info in original.infolist():
            data = original.read(info)
            if change_byte and info.filename == "AppxManifest.xml":
                middle = len(data) // 2
                data = data[:middle] + bytes([data[middle] ^ 0x01]) + data[middle + 1:]
            copy.writestr(info, data, compress_type=info.compress_type)


def main(argv):
    if len(argv) != 3:
        raise SystemExit(__doc__)
    package, cert = argv[1:]
    failures = []
    accepted, output = verify(package, cert)
    if not accepted:
        failures.append("the package does not verify:\n" + output)
    with zipfile.ZipFile(package) as archive:
        identity = ElementTree.fromstring(archive.read("AppxManifest.xml")).find(FOUNDATION + "Identity")
    publisher = identity.get("Publisher")
    signers = re.findall(r"Signer #0:\s*\n\s*Subject: (.*)", output)
    wanted = "/" + "/".join(reversed([part.strip() for part in publisher.split(",")]))
    if not signers or signers[0].strip() != wanted:
        failures.append(f"the signer is {signers[:1]}, the manifest's publisher {publisher} ({wanted})")
    with tempfile.TemporaryDirectory() as folder:
        same, changed = os.path.join(folder, "same.msix"), os.path.join(folder, "changed.msix")
        rewritten(package, same, change_byte=False)
        rewritten(package, changed, change_byte=True)
        if not verify(same, cert)[0]:
            failures.append("an unchanged rewritten copy no longer verifies: the check proves nothing")
        if verify(changed, cert)[0]:
            failures.append("a copy with one manifest byte changed still verifies")
    for failure in failures:
        print(f"check-signature: {failure}", file=sys.stderr)
    if not failures:
        print(f"signature verified, signer {signers[0].strip()} is the publisher, a changed byte is refused")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
