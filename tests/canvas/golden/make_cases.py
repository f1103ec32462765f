#!/usr/bin/env python3
"""Writes the golden op lists (*.ops) beside this script.

Re-render the pictures after changing a case:
    python3 make_cases.py && ../../../../shared/gdi-oracle/render_many.sh . .
The case name's first word is its family (line, rect, ellipse, ...).
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
CASES = {}

BLACK, RED, BLUE, GREEN, YELLOW = "0x000000", "0x0000FF", "0xFF0000", "0x00A000", "0x00FFFF"


def case(name, size, ops):
    assert name not in CASES, name
    CASES[name] = [f"size {size[0]} {size[1]}"] + ops


def setup(pen_w=1, pen_style="solid", pen_c=BLACK, brush_c=RED, brush_style="solid", mode="copypen"):
    return [f"pen {pen_c} {pen_w} {pen_style}", f"brush {brush_c} {brush_style}", "toolkitbrush", f"mode {mode}"]


# ---- lines ----
DIRS = [(1, 0), (2, 1), (1, 1), (1, 2), (0, 1), (-1, 2), (-1, 1), (-2, 1),
        (-1, 0), (-2, -1), (-1, -1), (-1, -2), (0, -1), (1, -2), (1, -1), (2, -1)]
for w in range(1, 6):
    ops = setup(w)
    for i, (dx, dy) in enumerate(DIRS):  # axes, diagonals and half slopes, every octant
        cx, cy = 8 + 16 * (i % 4), 8 + 16 * (i // 4)
        k = 3 if max(abs(dx), abs(dy)) == 2 else 5
        ops += [f"moveto {cx} {cy}", f"lineto {cx + dx * k} {cy + dy * k}"]
    case(f"line_w{w}_octants", (64, 64), ops)
    ops = setup(w)
    for i, (dx, dy) in enumerate([(1, 0), (0, 1), (-1, 0), (0, -1), (1, 1), (-1, 1), (1, -1), (-1, -1)]):
        for n in range(4):  # lengths 0 to 3
            cx, cy = 6 + 14 * n, 5 + 8 * i
            if i >= 4:
                cx, cy = 6 + 14 * n, 5 + 8 * (i - 4) + 32
            ops += [f"moveto {cx} {cy}", f"lineto {cx + dx * n} {cy + dy * n}"]
    case(f"line_w{w}_short", (64, 64), ops)
    ops = setup(w)
    ops += ["moveto -10 3", "lineto 20 9", "moveto 40 -7", "lineto 30 20", "moveto 50 40",
            "lineto 31 70", "moveto 70 30", "lineto 20 28", "moveto -3 -3", "lineto 10 10"]
    case(f"line_w{w}_outside", (48, 48), ops)

# ---- rectangles, ellipses, round rectangles ----
for kind in ("rect", "ellipse", "roundrect"):
    def fig(l, t, r, b, kind=kind):
        if kind == "roundrect":
            return f"roundrect {l} {t} {r} {b} {max(2, (r - l) // 2)} {max(2, (b - t) // 3)}"
        return f"{kind} {l} {t} {r} {b}"

    for w in range(1, 6):
        ops = setup(w)
        x, y = 3, 3
        for s in (0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11):
            if x + s > 60:
                x, y = 3, y + 16
            ops.append(fig(x, y, x + s, y + s))
            x += s + 6
        case(f"{kind}_w{w}_small", (64, 64), ops)
        ops = setup(w) + [fig(3, 3, 43, 43), fig(46, 2, 61, 29), fig(4, 47, 60, 58)]
        case(f"{kind}_w{w}_big", (64, 64), ops)
    for w in (1, 3, 5):
        case(f"{kind}_w{w}_flat", (64, 40), setup(w) + [
            fig(3, 3, 33, 8), fig(3, 12, 33, 13), fig(3, 17, 33, 19), fig(40, 3, 43, 36), fig(48, 3, 49, 36),
            fig(54, 3, 56, 36)])
    for w in (2, 3, 5):
        case(f"{kind}_w{w}_insideframe", (64, 32), setup(w, "insideframe") + [
            fig(2, 2, 22, 22), fig(26, 3, 37, 14), fig(40, 2, 62, 29), fig(26, 18, 30, 22)])
    case(f"{kind}_nullpen", (64, 32), setup(1, "null") + [
        fig(2, 2, 22, 22), fig(26, 3, 37, 14), fig(40, 2, 62, 29), fig(26, 18, 28, 20), fig(31, 18, 32, 19)])
    case(f"{kind}_clearbrush", (48, 32), setup(1, brush_style="clear") + [
        fig(2, 2, 22, 22), fig(26, 3, 37, 14), fig(24, 18, 45, 29)])
    case(f"{kind}_swapped", (48, 32), setup(1) + [
        fig(22, 22, 2, 2), fig(26, 14, 37, 3), fig(45, 18, 24, 29)])
    for w in (1, 4):
        case(f"{kind}_w{w}_outside", (40, 40), setup(w) + [
            fig(-10, -6, 15, 12), fig(30, 20, 55, 44), fig(-5, 25, 12, 60), fig(25, -9, 45, 9)])
    case(f"{kind}_tiny", (32, 16), setup(1) + [
        fig(2, 2, 3, 3), fig(6, 2, 7, 4), fig(10, 2, 12, 3), fig(14, 2, 16, 4)])

for w in (1, 2, 3):
    case(f"roundrect_w{w}_corners", (64, 64), setup(w) + [
        "roundrect 2 2 30 30 4 4", "roundrect 34 2 62 30 10 10", "roundrect 2 34 30 62 28 28",
        "roundrect 34 34 62 62 40 8", "roundrect 20 20 44 44 7 13"])

# ---- arcs, chords, pies ----
RADIALS = [((40, 20), (20, 0)), ((20, 0), (0, 20)), ((0, 20), (20, 40)), ((20, 40), (40, 20)),
           ((40, 5), (5, 35)), ((35, 38), (33, 36)), ((5, 5), (35, 35)), ((40, 0), (40, 0))]
for kind in ("arc", "chord", "pie"):
    for w in (1, 3):
        for half in (0, 1):
            ops = setup(w)
            for i, ((x3, y3), (x4, y4)) in enumerate(RADIALS[half * 4:half * 4 + 4]):
                ox, oy = 2 + 32 * (i % 2), 2 + 32 * (i // 2)
                # radial points given in box coordinates 0..40 of a 28x28 box
                m = lambda v: v * 28 // 40
                ops.append(f"{kind} {ox} {oy} {ox + 28} {oy + 28} {ox + m(x3)} {oy + m(y3)} {ox + m(x4)} {oy + m(y4)}")
            case(f"{kind}_w{w}_set{half}", (64, 64), ops)
    case(f"{kind}_odd", (64, 40), setup(1) + [
        f"{kind} 2 2 27 17 30 0 0 0", f"{kind} 32 2 61 37 60 40 33 2", f"{kind} 2 20 9 27 9 20 2 27"])

# ---- polygons and polylines ----
case("polygon_basic", (48, 48), setup(1) + [
    "polygon 3 2 2 20 2 11 18", "polygon 4 24 2 44 6 40 20 26 16",
    "polygon 5 10 24 22 40 2 30 18 30 2 40", "polygon 6 26 26 44 26 44 44 35 44 35 35 26 35"])
case("polygon_wide", (48, 48), setup(3) + [
    "polygon 3 4 4 20 4 12 18", "polygon 4 26 4 44 8 40 20 28 16", "polygon 5 10 26 22 42 4 32 20 32 4 42"])
case("polygon_nullpen", (48, 32), setup(1, "null") + ["polygon 4 2 2 20 4 16 20 4 16", "polygon 3 24 2 44 10 30 28"])
case("polyline_basic", (48, 48), setup(1) + [
    "polyline 5 2 2 20 2 20 20 2 20 2 4", "polyline 6 24 2 44 10 26 18 44 26 24 34 46 46",
    "polyline 2 4 40 4 40"])
for w in (2, 3, 5):
    case(f"polyline_w{w}", (48, 48), setup(w) + [
        "polyline 4 4 4 40 4 40 20 10 30", "polyline 3 6 42 20 36 40 44"])

# ---- Beziers ----
BEZ = {
    "arch": "polybezier 4 4 40 12 2 36 2 44 40",
    "s": "polybezier 4 4 4 44 4 4 44 44 44",
    "loop": "polybezier 4 6 30 46 2 2 2 40 30",
    "cusp": "polybezier 4 4 40 44 4 4 4 44 40",
    "wide": "polybezier 4 -20 40 10 -40 40 80 70 10",
    "chain": "polybezier 7 2 24 10 4 20 4 24 24 28 44 38 44 46 24",
}
for name, op in BEZ.items():
    for w in (1, 3):
        case(f"bezier_{name}_w{w}", (48, 48), setup(w) + [op])

# ---- flood fills ----
case("flood_surface", (32, 32), setup(1) + ["rect 2 2 20 20", "moveto 2 2", "lineto 20 20", "moveto 25 0",
                                              "lineto 25 32", "brush 0x00FF00 solid", "toolkitbrush",
                                              "floodfill 10 5 seed surface", "floodfill 28 28 0xFFFFFF surface",
                                              "floodfill 0 0 0x000000 surface"])
case("flood_border", (32, 32), setup(1, brush_c="0xFFFFFF") + ["ellipse 2 2 28 28", "moveto 5 15", "lineto 15 25",
                                                               "brush 0x0000FF solid", "toolkitbrush",
                                                               "floodfill 15 10 0x000000 border",
                                                               "floodfill 2 2 0x000000 border"])
case("flood_hatch", (32, 32), setup(1, brush_c="0xFFFFFF") + ["rect 2 2 30 30", "brush 0x00FF0000 cross",
                                                              "toolkitbrush", "floodfill 10 10 seed surface"])
case("flood_xor", (32, 32), setup(1, brush_c="0xFFFFFF") + ["rect 2 2 30 30", "brush 0x00FF00 solid",
                                                            "toolkitbrush", "mode xorpen", "floodfill 10 10 seed surface"])

# ---- pen modes ----
R2 = ["black", "notmergepen", "masknotpen", "notcopypen", "maskpennot", "not", "xorpen", "notmaskpen",
      "maskpen", "notxorpen", "nop", "mergenotpen", "copypen", "mergepennot", "mergepen", "white"]
for m in R2:
    case(f"mode_{m}", (32, 32), setup(1, brush_c="0x00FF00") + [
        "rect 0 0 32 12", "brush 0xFF00FF solid", "toolkitbrush", "rect 0 12 16 32",
        f"pen {RED} 1 solid", "brush 0x808080 solid", "toolkitbrush", f"mode {m}",
        "moveto 0 6", "lineto 32 20", "ellipse 4 4 28 28", f"pen {BLUE} 3 solid", "moveto 2 30", "lineto 30 2",
        "moveto 8 8", "lineto 24 8"])

# ---- styled pens ----
for st in ("dash", "dot", "dashdot", "dashdotdot"):
    for br in ("solid", "clear"):
        case(f"style_{st}_{br}", (64, 48), setup(1, st, brush_c=YELLOW, brush_style=br) + [
            "moveto 2 2", "lineto 62 2", "moveto 2 5", "lineto 62 20", "moveto 2 8", "lineto 10 46",
            "rect 14 24 40 46", "polyline 4 44 24 62 24 62 46 44 46", "ellipse 20 8 40 20"])

# ---- brushes ----
for hs in ("horizontal", "vertical", "fdiagonal", "bdiagonal", "cross", "diagcross"):
    case(f"hatch_{hs}", (32, 32), setup(1, brush_c=BLUE, brush_style=hs) + [
        "rect 1 1 20 20", "ellipse 12 12 31 31", "fillrect 22 2 30 10"])
pat = " ".join(("0x0000FF" if (x + y) % 3 == 0 else "0x00FF00" if x == y else "0xFFFFFF")
               for y in range(8) for x in range(8))
case("hatch_pattern", (32, 32), [f"pen {BLACK} 1 solid", f"patternbrush {pat}", "toolkitbrush", "mode copypen",
                                 "rect 1 1 20 20", "ellipse 12 12 31 31", "fillrect 22 2 30 10"])

# ---- copy modes and stretching ----
ROPS = ["srccopy", "srcpaint", "srcand", "srcinvert", "srcerase", "notsrccopy", "notsrcerase", "mergecopy",
        "mergepaint", "patcopy", "patpaint", "patinvert", "dstinvert", "blackness", "whiteness"]
for r in ROPS:
    case(f"copy_{r}", (32, 32), setup(1, brush_c="0x00FF00") + [
        "rect 0 0 16 16", "brush 0xFF0000 solid", "toolkitbrush", "ellipse 8 0 32 16",
        "brush 0x0080FF solid", "toolkitbrush", f"blit 4 16 24 14 0 0 {r}", f"blit 20 2 10 8 0 8 {r}"])
case("stretch_grow", (48, 48), setup(1, brush_c=RED) + [
    "rect 0 0 8 8", "brush 0xFF0000 solid", "toolkitbrush", "ellipse 2 2 12 10",
    "stretch 12 12 30 33 0 0 12 10 srccopy", "stretch 4 30 5 15 0 0 3 3 srccopy"])
case("stretch_mirror", (48, 48), setup(1, brush_c=RED) + [
    "rect 0 0 8 8", "brush 0xFF0000 solid", "toolkitbrush", "ellipse 2 2 12 10",
    "stretch 44 12 -24 20 0 0 12 10 srccopy", "stretch 2 46 20 -24 0 0 12 10 srccopy"])
case("stretch_shrink", (48, 48), setup(1, brush_c=RED) + [
    "rect 0 0 20 20", "brush 0xFF0000 solid", "toolkitbrush", "ellipse 4 4 24 24", "stretchmode coloroncolor",
    "stretch 26 26 10 7 0 0 24 24 srccopy"])

if __name__ == "__main__":
    for f in os.listdir(HERE):
        if f.endswith(".ops"):
            os.remove(os.path.join(HERE, f))
    for name, ops in CASES.items():
        with open(os.path.join(HERE, name + ".ops"), "w") as fh:
            fh.write("\n".join(ops) + "\n")
    print(len(CASES), "cases")
