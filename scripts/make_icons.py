#!/usr/bin/env python3
"""Draws the program icon: data/icons/pixoral.svg and PNGs of the usual sizes beside it.

One list of shapes serves both, so the scalable icon and the pixel sizes agree. Needs only
the standard library; run it again after changing the shapes and commit the results.
"""
import os
import struct
import zlib

VIEW = 64  # the shapes are given on a 64 by 64 grid
SIZES = (16, 24, 32, 48, 64, 128, 256)

# (x, y, width, height, corner radius, colour): a dark tile holding a 3 by 3 block of pixels.
TILE = (2, 2, 60, 60, 12, (0x24, 0x3b, 0x5c))
PIXEL_COLOURS = [
    (0xe5, 0x39, 0x35), (0xfb, 0x8c, 0x00), (0xfd, 0xd8, 0x35),
    (0x43, 0xa0, 0x47), (0xff, 0xff, 0xff), (0x00, 0xac, 0xc1),
    (0x1e, 0x88, 0xe5), (0x8e, 0x24, 0xaa), (0xd8, 0x1b, 0x60),
]
SHAPES = [TILE] + [
    (10 + 15 * (i % 3), 10 + 15 * (i // 3), 14, 14, 2, c) for i, c in enumerate(PIXEL_COLOURS)
]


def inside(shape, x, y):
    sx, sy, w, h, r, _ = shape
    if x < sx or y < sy or x > sx + w or y > sy + h:
        return False
    # Distance to the nearest corner centre decides inside the rounded corners.
    cx = min(max(x, sx + r), sx + w - r)
    cy = min(max(y, sy + r), sy + h - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def render(size, samples=4):
    rows = []
    scale = VIEW / size
    for py in range(size):
        row = bytearray()
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) * scale
                    y = (py + (sy + 0.5) / samples) * scale
                    colour = None
                    for shape in SHAPES:
                        if inside(shape, x, y):
                            colour = shape[5]
                    if colour:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            n = samples * samples
            if acc[3]:
                row += bytes((acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3], 255 * acc[3] // n))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return rows


def png(size, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\0" + r for r in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def svg():
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">' % (VIEW, VIEW, VIEW, VIEW)]
    for x, y, w, h, r, c in SHAPES:
        parts.append('  <rect x="%d" y="%d" width="%d" height="%d" rx="%d" fill="#%02x%02x%02x"/>' % (x, y, w, h, r, *c))
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "icons")
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "pixoral.svg"), "w") as f:
        f.write(svg())
    for size in SIZES:
        with open(os.path.join(out, "pixoral-%d.png" % size), "wb") as f:
            f.write(png(size, render(size)))


if __name__ == "__main__":
    main()
