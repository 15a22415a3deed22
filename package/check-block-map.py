#!/usr/bin/env python3
"""Checks a package's block map against its payload, as Windows does before it trusts a single block.

    check-block-map.py PACKAGE.msix

Every payload file has one File entry, in archive order, with its size, the size of its local header as it
lies in the archive, and the SHA-256 of each 64 KiB block; the package's own parts have none.
"""
import base64
import hashlib
import struct
import sys
import xml.etree.ElementTree as ElementTree
import zipfile

NAMESPACE = "{http://schemas.microsoft.com/appx/2010/blockmap}"
FOOTPRINT = {"AppxBlockMap.xml", "[Content_Types].xml", "AppxSignature.p7x"}
BLOCK_SIZE = 64 * 1024


def local_header_size(raw, offset):
    signature, = struct.unpack_from("<I", raw, offset)
    if signature != 0x04034B50:
        raise AssertionError(f"no local file header at {offset}")
    name_length, extra_length = struct.unpack_from("<HH", raw, offset + 26)
    return 30 + name_length + extra_length


def problems(path):
    raw = open(path, "rb").read()
    with zipfile.ZipFile(path) as archive:
        root = ElementTree.fromstring(archive.read("AppxBlockMap.xml"))
        if root.get("HashMethod") != "http://www.w3.org/2001/04/xmlenc#sha256":
            yield f"hash method {root.get('HashMethod')}"
        entries = [i for i in archive.infolist() if i.filename not in FOOTPRINT]
        files = root.findall(NAMESPACE + "File")
        listed = [f.get("Name") for f in files]
        expected = [i.filename.replace("/", "\\") for i in entries]
        if listed != expected:
            yield f"the block map lists {listed}, the archive holds {expected}"
            return
        for info, entry in zip(entries, files):
            data = archive.read(info)
            if info.compress_type != zipfile.ZIP_STORED:
                yield f"{info.filename}: compressed, but its blocks carry no compressed sizes"
            if int(entry.get("Size")) != len(data):
                yield f"{info.filename}: size {entry.get('Size')} listed, {len(data)} in the archive"
            if int(entry.get("LfhSize")) != local_header_size(raw, info.header_offset):
                yield f"{info.filename}: local header size {entry.get('LfhSize')} listed, " \
                      f"{local_header_size(raw, info.header_offset)} in the archive"
            hashes = [b.get("Hash") for b in entry.findall(NAMESPACE + "Block")]
            actual = [base64.b64encode(hashlib.sha256(data[s:s + BLOCK_SIZE]).digest()).decode()
                      for s in range(0, len(data), BLOCK_SIZE)]
            if hashes != actual:
                yield f"{info.filename}: block hashes differ from the data"


def main(argv):
    if len(argv) != 2:
        raise SystemExit(__doc__)
    found = list(problems(argv[1]))
    for problem in found:
        print(f"check-block-map: {problem}", file=sys.stderr)
    with zipfile.ZipFile(argv[1]) as archive:
        count = sum(1 for i in archive.infolist() if i.filename not in FOOTPRINT)
    print(f"{count} payload files, {'their block map is wrong' if found else 'every block hash matches'}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
