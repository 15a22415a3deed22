#!/usr/bin/env python3
"""Fills in the package manifest from the library's own sources, so that the two never disagree.

    make-manifest.py TEMPLATE CLASS-HEADER VERSION-RC PUBLISHER OUT

@CLASS_ID@ is the Explorer command's class as the header initialises it (the GUID the compiler sees, not its
comment), @VERSION@ the FILEVERSION of the version resource, @PUBLISHER@ the signing certificate's subject.
"""
import re
import sys

CLASS_NAME = "CLSID_TarnwickExplorerCommand"


def class_id(header_text):
    match = re.search(CLASS_NAME + r"\s*=\s*\{([^;]*)\};", header_text)
    if not match:
        raise SystemExit(f"make-manifest: no {CLASS_NAME} initialiser in the class header")
    numbers = [int(n, 16) for n in re.findall(r"0x([0-9A-Fa-f]+)", match.group(1))]
    if len(numbers) != 11:
        raise SystemExit(f"make-manifest: {CLASS_NAME} has {len(numbers)} parts, not 11")
    data1, data2, data3, *data4 = numbers
    tail = "".join(f"{b:02X}" for b in data4)
    return f"{data1:08X}-{data2:04X}-{data3:04X}-{tail[:4]}-{tail[4:]}"


def file_version(rc_text):
    match = re.search(r"^\s*FILEVERSION\s+(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)", rc_text, re.MULTILINE)
    if not match:
        raise SystemExit("make-manifest: no FILEVERSION in the version resource")
    return ".".join(str(int(part)) for part in match.groups())


def main(argv):
    if len(argv) != 6:
        raise SystemExit(__doc__)
    template, header, rc, publisher, out = argv[1:]
    values = {
        "CLASS_ID": class_id(open(header, encoding="utf-8").read()),
        "VERSION": file_version(open(rc, encoding="utf-8").read()),
        "PUBLISHER": publisher,
    }
    text = open(template, encoding="utf-8").read()
    for name, value in values.items():
        text = text.replace(f"@{name}@", value)
    if left := re.findall(r"@[A-Z_]+@", text):
        raise SystemExit(f"make-manifest: nothing fills in {', '.join(sorted(set(left)))}")
    with open(out, "w", encoding="utf-8", newline="\r\n") as file:
        file.write(text)


if __name__ == "__main__":
    main(sys.argv)
