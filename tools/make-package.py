#!/usr/bin/env python3
"""Writes an unsigned package file (.msix): the payload, its block map and its content types.

    make-package.py OUT.msix NAME=FILE...     NAME is the path inside the package, e.g. Assets/StoreLogo.png

The payload is stored, so that each block map entry is the SHA-256 of 64 KiB of the file as it lies in the
archive and needs no compressed size. [Content_Types].xml is deflated: osslsigncode rewrites that entry when it
signs, and a stored one comes out with a broken checksum.
"""
import base64
import hashlib
import sys
import zipfile
from xml.sax.saxutils import quoteattr

BLOCK_SIZE = 64 * 1024
LOCAL_HEADER_SIZE = 30  # the fixed part of a zip local file header
FIXED_TIME = (2026, 1, 1, 0, 0, 0)  # the same bytes for the same payload at every build

CONTENT_TYPES = {"xml": "application/xml", "png": "image/png"}
OVERRIDES = {
    "/AppxManifest.xml": "application/vnd.ms-appx.manifest+xml",
    "/AppxBlockMap.xml": "application/vnd.ms-appx.blockmap+xml",
    "/AppxSignature.p7x": "application/vnd.ms-appx.signature",
}


def block_map(payload):
    """The block map of (name in the package, data) pairs, in archive order."""
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<BlockMap xmlns="http://schemas.microsoft.com/appx/2010/blockmap"'
             ' HashMethod="http://www.w3.org/2001/04/xmlenc#sha256">']
    for name, data in payload:
        local_header = LOCAL_HEADER_SIZE + len(name.encode("utf-8"))
        windows_name = name.replace("/", "\\")
        lines.append(f'<File Name={quoteattr(windows_name)} Size="{len(data)}" LfhSize="{local_header}">')
        for start in range(0, len(data), BLOCK_SIZE):
            digest = hashlib.sha256(data[start:start + BLOCK_SIZE]).digest()
            lines.append(f'<Block Hash="{base64.b64encode(digest).decode("ascii")}"/>')
        lines.append("</File>")
    lines.append("</BlockMap>")
    return "\r\n".join(lines).encode("utf-8")


def content_types(payload):
    extensions = sorted({name.rsplit(".", 1)[-1].lower() for name, _ in payload})
    unknown = [e for e in extensions if e not in CONTENT_TYPES]
    if unknown:
        raise SystemExit(f"make-package: no content type for .{', .'.join(unknown)}")
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">']
    lines += [f'<Default Extension="{e}" ContentType="{CONTENT_TYPES[e]}"/>' for e in extensions]
    lines += [f'<Override PartName="{part}" ContentType="{kind}"/>' for part, kind in OVERRIDES.items()]
    lines.append("</Types>")
    return "\r\n".join(lines).encode("utf-8")


def write_entry(archive, name, data, compression):
    info = zipfile.ZipInfo(name, FIXED_TIME)
    info.compress_type = compression
    archive.writestr(info, data)


def main(argv):
    if len(argv) < 3 or not all("=" in a for a in argv[2:]):
        raise SystemExit(__doc__)
    payload = []
    for argument in argv[2:]:
        name, path = argument.split("=", 1)
        with open(path, "rb") as file:
            payload.append((name, file.read()))
    with zipfile.ZipFile(argv[1], "w") as archive:
        for name, data in payload:
            write_entry(archive, name, data, zipfile.ZIP_STORED)
        write_entry(archive, "AppxBlockMap.xml", block_map(payload), zipfile.ZIP_DEFLATED)
        write_entry(archive, "[Content_Types].xml", content_types(payload), zipfile.ZIP_DEFLATED)


if __name__ == "__main__":
    main(sys.argv)
