#!/usr/bin/env python3
"""Writes the offline app's icons: a parabola through two roots on its axis,
as PNG, SIZE pixels square, for each SIZE given.

Usage: icons.py FOLDER SIZE...   (writes FOLDER/icon-SIZE.png)

Drawn here, from nothing but zlib, so that the same source gives the same
bytes at every build, and no picture is kept in the tree. Each pixel is
covered or not by the curve, the axis, or neither, at four samples per side,
and the colour blends by how many.
"""
import math
import pathlib
import struct
import sys
import zlib

BACKGROUND = (255, 255, 255)
CURVE = (11, 87, 208)  # the page's blue, as in its favicon
AXIS = (95, 99, 104)


def chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def icon(size):
    # In units of the icon: the curve y = 0.7 - 3.2·(x - 0.5)² from x = 0.16
    # to 0.84, the axis at y = 0.5, where the curve crosses it twice; y grows
    # downwards, as the pixels do, so the curve opens upwards on the screen.
    # A safe zone of a fifth on each side keeps it whole under a round mask.
    def curve(x):
        return 0.70 - 3.2 * (x - 0.5) ** 2

    width = 0.045
    rows = []
    samples = 4
    for py in range(size):
        row = bytearray([0])  # no filter
        for px in range(size):
            hits_curve = hits_axis = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / size
                    y = (py + (sy + 0.5) / samples) / size
                    if 0.16 <= x <= 0.84 and abs(y - curve(x)) < width / 2 * math.hypot(1, 6.4 * (x - 0.5)):
                        hits_curve += 1
                    elif 0.12 <= x <= 0.88 and abs(y - 0.5) < 0.012:
                        hits_axis += 1
            total = samples * samples
            rest = total - hits_curve - hits_axis
            row += bytes(round((hits_curve * c + hits_axis * a + rest * b) / total)
                         for c, a, b in zip(CURVE, AXIS, BACKGROUND))
        rows.append(bytes(row))
    header = struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0)  # 8-bit RGB
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def main():
    folder = pathlib.Path(sys.argv[1])
    for size in sys.argv[2:]:
        (folder / f"icon-{size}.png").write_bytes(icon(int(size)))


if __name__ == "__main__":
    main()
