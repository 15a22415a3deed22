#!/usr/bin/env python3
"""Draws the pictures described in res/pictures/pictures.txt as icon files and PNG logos.

    pictures.py icon SOURCE PICTURE OUT.ico        every icon size, 32-bit with alpha
    pictures.py png SOURCE PICTURE SIZE OUT.png    one square logo

Python's standard library only, so that the build needs no image tools.
"""
import math
import struct
import sys
import zlib

ICON_SIZES = (16, 20, 24, 32, 48)
CANVAS = 48.0

def _samples(size):
    """Samples per pixel and axis: four give smooth edges at 16 pixels; large logos need fewer."""
    return 4 if size <= 48 else 2


# Primitives: signed distances in canvas units, negative inside.

def _rect(x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def distance(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return distance


def _segment_distance(x, y, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
    return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy))


def _line(x0, y0, x1, y1, width):
    return lambda x, y: _segment_distance(x, y, x0, y0, x1, y1) - width / 2


def _circle(cx, cy, radius):
    return lambda x, y: math.hypot(x - cx, y - cy) - radius


def _arc(cx, cy, radius, width, start, end):
    def point(angle):
        a = math.radians(angle)
        return cx + radius * math.sin(a), cy - radius * math.cos(a)
    ends = (point(start), point(end))
    sweep = (end - start) % 360 or 360

    def distance(x, y):
        angle = math.degrees(math.atan2(x - cx, cy - y))
        if (angle - start) % 360 <= sweep:
            return abs(math.hypot(x - cx, y - cy) - radius) - width / 2
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - width / 2
    return distance


PRIMITIVES = {"rect": (_rect, 5), "line": (_line, 5), "circle": (_circle, 3), "arc": (_arc, 6)}


# The source text.

class Shape:
    def __init__(self, fill, outline, parts):
        self.fill, self.outline, self.parts = fill, outline, parts

    def distance(self, x, y):
        return min(part(x, y) for part in self.parts)


def _colour(text):
    if len(text) != 7 or text[0] != "#":
        raise ValueError(f"not a colour: {text}")
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def _primitive(text):
    name, *numbers = text.split()
    make, count = PRIMITIVES[name]
    if len(numbers) != count:
        raise ValueError(f"{name} takes {count} numbers: {text}")
    return make(*map(float, numbers))


def _shape(text):
    head, body = text.split(":", 1)
    words = head.split()
    if len(words) != 4 or words[0] != "shape" or words[2] != "outline":
        raise ValueError(f"expected 'shape #RRGGBB outline #RRGGBB|none:': {head}")
    outline = None if words[3] == "none" else _colour(words[3])
    return Shape(_colour(words[1]), outline, [_primitive(part) for part in body.split("+")])


def read_pictures(path):
    pictures, current = {}, None
    with open(path, encoding="utf-8") as source:
        for number, raw in enumerate(source, 1):
            line = raw.strip()
            if not line or line.startswith("#"):
                continue
            try:
                if line.startswith("picture "):
                    current = pictures.setdefault(line.split()[1], [])
                elif current is None:
                    raise ValueError("a shape before the first picture")
                else:
                    current.append(_shape(line))
            except (ValueError, KeyError) as error:
                raise SystemExit(f"{path}:{number}: {error}")
    return pictures


# Drawing.

def _sample(shapes, x, y, outline_width):
    """The colour at one point, or None where the picture is transparent."""
    for shape in reversed(shapes):
        distance = shape.distance(x, y)
        if distance <= 0:
            return shape.fill
        if shape.outline and distance <= outline_width:
            return shape.outline
    return None


def render(shapes, size):
    """Rows of (r, g, b, a) pixels, top row first."""
    scale = CANVAS / size
    outline_width = max(1.0, size / 32) * scale
    samples = _samples(size)
    step = scale / samples
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            points = (((px * samples + sx + 0.5) * step, (py * samples + sy + 0.5) * step)
                      for sy in range(samples) for sx in range(samples))
            covered = [c for c in (_sample(shapes, x, y, outline_width) for x, y in points) if c]
            row.append(_average(covered, samples * samples))
        rows.append(row)
    return rows


def _average(colours, samples):
    if not colours:
        return (0, 0, 0, 0)
    r, g, b = (round(sum(c[i] for c in colours) / len(colours)) for i in range(3))
    return (r, g, b, round(255 * len(colours) / samples))


# Files.

def icon_file(images):
    """An icon file whose images are PNG streams, which Windows has read in icons since Vista: a fifth of the
    size of 32-bit bitmaps in the library."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries, data = b"", b""
    for size, image in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset + len(data))
        data += image
    return directory + entries + data


def png_file(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(channel for pixel in row for channel in pixel) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def _picture(pictures, name):
    if name not in pictures:
        raise SystemExit(f"no picture named {name}")
    return pictures[name]


def main(argv):
    if len(argv) == 5 and argv[1] == "icon":
        shapes = _picture(read_pictures(argv[2]), argv[3])
        data = icon_file([(size, png_file(render(shapes, size))) for size in ICON_SIZES])
        out = argv[4]
    elif len(argv) == 6 and argv[1] == "png":
        shapes = _picture(read_pictures(argv[2]), argv[3])
        data = png_file(render(shapes, int(argv[4])))
        out = argv[5]
    else:
        raise SystemExit(__doc__)
    with open(out, "wb") as file:
        file.write(data)


if __name__ == "__main__":
    main(sys.argv)
