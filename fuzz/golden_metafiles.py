#!/usr/bin/env python3
"""Writes each golden op list (tests/canvas/golden/*.ops) as a WMF and an EMF file, seeds for
the metafile fuzz targets: the same drawings the canvas tests check, as records.

Usage: golden_metafiles.py OPS_DIR OUT_DIR
Ops the metafiles cannot hold (blits of the canvas, flood fills) are left out.
"""
import os
import struct
import sys

PEN_STYLES = {"solid": 0, "dash": 1, "dot": 2, "dashdot": 3, "dashdotdot": 4, "null": 5, "insideframe": 6}
BRUSH_HATCH = {"horizontal": 0, "vertical": 1, "fdiagonal": 2, "bdiagonal": 3, "cross": 4, "diagcross": 5}
ROP2 = ["black", "notmergepen", "masknotpen", "notcopypen", "maskpennot", "not", "xorpen", "notmaskpen",
        "maskpen", "notxorpen", "nop", "mergenotpen", "copypen", "mergepennot", "mergepen", "white"]


def s16(v):
    return struct.pack("<h", max(-32768, min(32767, int(v))))


class Wmf:
    def __init__(self):
        self.records, self.max_words, self.slots = [], 0, {}

    def rec(self, func, *words):
        body = b"".join(s16(w) if w < 32768 else struct.pack("<H", w) for w in words)
        size = 3 + len(body) // 2
        self.max_words = max(self.max_words, size)
        self.records.append(struct.pack("<IH", size, func) + body)

    def obj(self, kind, func, *words):
        # A new object takes the lowest free slot; the old one of its kind goes after the select.
        slot = next(i for i in range(16) if i not in self.slots.values())
        self.rec(func, *words)
        self.rec(0x012D, slot)
        if kind in self.slots:
            self.rec(0x01F0, self.slots[kind])
        self.slots[kind] = slot

    def bytes(self, w, h):
        self.rec(0x0000)
        body = b"".join(self.records)
        header = struct.pack("<HHHIHIH", 1, 9, 0x0300, (18 + len(body)) // 2, 16, self.max_words, 0)
        place = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, w, h, 96, 0)
        check = 0
        for (word,) in struct.iter_unpack("<H", place):
            check ^= word
        return place + struct.pack("<H", check) + header + body


class Emf:
    def __init__(self):
        self.records, self.handles = [], {}

    def rec(self, kind, *ints):
        body = b"".join(struct.pack("<i", v) if v < 2**31 else struct.pack("<I", v) for v in ints)
        self.records.append(struct.pack("<II", kind, 8 + len(body)) + body)

    def obj(self, kind, create, *ints):
        # Pens take handles 1 and 3 in turn, brushes 2 and 4; the old one goes after the select.
        first = 1 if kind == "pen" else 2
        old = self.handles.get(kind)
        handle = first + 2 if old == first else first
        self.rec(create, handle, *ints)
        self.rec(37, handle)
        if old is not None:
            self.rec(40, old)
        self.handles[kind] = handle

    def bytes(self, w, h):
        self.rec(14, 0, 16, 20)
        body = b"".join(self.records)
        size = 88 + len(body)
        header = struct.pack("<II4i4iIIIIHHIII", 1, 88, 0, 0, w - 1, h - 1, 0, 0,
                             int((w - 1) * 2540 / 96), int((h - 1) * 2540 / 96), 0x464D4520, 0x10000,
                             size, len(self.records) + 1, 8, 0, 0, 0, 0)
        header += struct.pack("<iiii", 1024, 768, 271, 203)  # reference device, pixels and mm
        return header + body


def convert(lines):
    wmf, emf, size = Wmf(), Emf(), (64, 64)
    for line in lines:
        p = line.split()
        if not p:
            continue
        op, a = p[0], p[1:]
        n = []
        for x in a:
            try:
                n.append(int(x, 0))
            except ValueError:
                pass
        if op == "size":
            size = (int(a[0]), int(a[1]))
        elif op == "pen":
            c, w, style = int(a[0], 0), int(a[1]), PEN_STYLES.get(a[2], 0)
            wmf.obj("pen", 0x02FA, style, w, 0, c & 0xFFFF, c >> 16)
            emf.obj("pen", 38, style, w, 0, c)
        elif op == "brush":
            c, style = int(a[0], 0), a[1]
            bs, hatch = (1, 0) if style == "clear" else (0, 0) if style == "solid" else (2, BRUSH_HATCH.get(style, 0))
            wmf.obj("brush", 0x02FC, bs, c & 0xFFFF, c >> 16, hatch)
            emf.obj("brush", 39, bs, c, hatch)
        elif op == "mode" and a[0] in ROP2:
            wmf.rec(0x0104, ROP2.index(a[0]) + 1, 0)
            emf.rec(20, ROP2.index(a[0]) + 1)
        elif op == "moveto":
            wmf.rec(0x0214, n[1], n[0])
            emf.rec(27, n[0], n[1])
        elif op == "lineto":
            wmf.rec(0x0213, n[1], n[0])
            emf.rec(54, n[0], n[1])
        elif op in ("rect", "ellipse"):
            wmf.rec(0x041B if op == "rect" else 0x0418, n[3], n[2], n[1], n[0])
            emf.rec(43 if op == "rect" else 42, *n[:4])
        elif op == "roundrect":
            wmf.rec(0x061C, n[5], n[4], n[3], n[2], n[1], n[0])
            emf.rec(44, *n[:4], n[4], n[5])
        elif op in ("arc", "pie", "chord"):
            wmf.rec({"arc": 0x0817, "pie": 0x081A, "chord": 0x0830}[op], n[7], n[6], n[5], n[4], n[3], n[2], n[1], n[0])
            emf.rec({"arc": 45, "pie": 47, "chord": 46}[op], *n[:8])
        elif op in ("polyline", "polygon", "polybezier"):
            count, pts = n[0], n[1:]
            if op != "polybezier":
                wmf.rec(0x0325 if op == "polyline" else 0x0324, count, *pts)
            xs, ys = pts[0::2], pts[1::2]
            bounds = [min(xs), min(ys), max(xs), max(ys)]
            emf.rec({"polyline": 4, "polygon": 3, "polybezier": 2}[op], *bounds, count, *pts)
    return wmf.bytes(*size), emf.bytes(*size)


def main():
    src, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    for name in sorted(os.listdir(src)):
        if not name.endswith(".ops"):
            continue
        with open(os.path.join(src, name)) as f:
            wmf, emf = convert(f.read().splitlines())
        base = os.path.join(out, name[:-4])
        with open(base + ".wmf", "wb") as f:
            f.write(wmf)
        with open(base + ".emf", "wb") as f:
            f.write(emf)


if __name__ == "__main__":
    main()
