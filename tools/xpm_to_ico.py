#!/usr/bin/env python3
"""Writes the Windows window's icon: the window's XPM images, each a 32-bit image of an .ico file.

    xpm_to_ico.py OUT.ico IN.xpm...

Reads the plain XPM the images are kept in (one character per pixel, colours as #RRGGBB or None)
and refuses anything else, so that a changed image cannot turn silently into a wrong icon.
"""
import re
import struct
import sys


def read_xpm(path):
    strings = re.findall(r'"([^"]*)"', open(path, encoding="ascii").read())
    width, height, count, per_pixel = (int(n) for n in strings[0].split()[:4])
    if per_pixel != 1:
        sys.exit(f"{path}: {per_pixel} characters per pixel; only 1 is read")
    colours = {}
    for line in strings[1:1 + count]:
        key, kind, value = line[0], line[2:].split()[0], line[2:].split()[1]
        if kind != "c":
            sys.exit(f"{path}: colour line {line!r} is not read")
        colours[key] = None if value == "None" else int(value.lstrip("#"), 16)
    rows = strings[1 + count:1 + count + height]
    if len(rows) != height or any(len(row) != width for row in rows):
        sys.exit(f"{path}: the image is not {width} by {height}")
    return width, height, [[colours[c] for c in row] for row in rows]


def bitmap(width, height, pixels):
    """A BITMAPINFOHEADER, BGRA pixels bottom-up, then the 1-bit mask, rows padded to 4 bytes."""
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b""
    mask = b""
    for row in reversed(pixels):
        bits = 0
        line = b""
        for x, rgb in enumerate(row):
            if rgb is None:
                colour += b"\0\0\0\0"
                bits |= 0x80 >> (x % 8)
            else:
                colour += struct.pack("<BBBB", rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16, 255)
            if x % 8 == 7 or x == width - 1:
                line += bytes([bits])
                bits = 0
        mask += line + b"\0" * (-len(line) % 4)
    return header + colour + mask


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    images = [read_xpm(path) for path in sys.argv[2:]]
    blobs = [bitmap(*image) for image in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (width, height, _), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(blobs))


if __name__ == "__main__":
    main()
