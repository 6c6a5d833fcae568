#!/usr/bin/env python3
"""Draws the hatch patterns of the soil-layer strip and writes them as
monochrome PNG tiles into resources/hatches (the pictures are committed; the
build never runs this).

    tools/hatches/make-hatches.py [OUTPUT_DIR]

Each pattern is drawn from line segments and dots on a 16 x 16 cell that
repeats seamlessly. The screen tile is the cell at one pixel per unit with
one-pixel strokes; the print tile is the same cell at four pixels per unit
with thinner strokes, so that the pattern stays fine on a printer's dense
grid. Only the Python standard library is needed.
"""

import math
import os
import struct
import sys
import zlib

CELL = 16

# Segments ((x0, y0), (x1, y1)) and dots (x, y, radius) in cell units; the
# pixel centres of the screen tile lie at k + 0.5.
def clay():
    # Long horizontal dashes, offset row to row: a laminated fine soil.
    segs = []
    for row, shift in ((2.5, 0), (6.5, 8), (10.5, 0), (14.5, 8)):
        segs.append(((shift + 1, row), (shift + 11, row)))
    return segs, []

def sand():
    # Scattered dots: a granular soil.
    dots = [(1.5, 1.5), (9.5, 3.5), (5.5, 6.5), (13.5, 7.5), (2.5, 10.5),
            (10.5, 11.5), (6.5, 14.5), (14.5, 14.5), (5.5, 2.5), (12.5, 1.5)]
    return [], [(x, y, 0.5) for x, y in dots]

def silt():
    # Short dashes with dots between: between clay and sand.
    segs = [((1, 3.5), (6, 3.5)), ((9, 11.5), (14, 11.5))]
    dots = [(11.5, 3.5, 0.5), (3.5, 11.5, 0.5), (7.5, 7.5, 0.5), (15.5, 15.5, 0.5)]
    return segs, dots

def strong_rock():
    # Regular blocks with staggered joints: massive rock.
    segs = [((0, 0.5), (16, 0.5)), ((0, 8.5), (16, 8.5)),
            ((4.5, 0.5), (4.5, 8.5)), ((12.5, 8.5), (12.5, 16.5))]
    return segs, []

def weak_rock():
    # Blocks broken by diagonal fissures: weathered rock.
    segs = [((0, 0.5), (16, 0.5)), ((0, 8.5), (16, 8.5)),
            ((4.5, 0.5), (4.5, 8.5)), ((12.5, 8.5), (12.5, 16.5)),
            ((7.5, 2.5), (10.5, 5.5)), ((15.5, 10.5), (18.5, 13.5))]
    return segs, []

def gravel():
    # Small rings: coarse rounded grains.
    rings = [(4.5, 4.5), (12.5, 12.5)]
    segs = []
    for cx, cy in rings:
        n = 12
        pts = [(cx + 2.5 * math.cos(2 * math.pi * k / n), cy + 2.5 * math.sin(2 * math.pi * k / n)) for k in range(n + 1)]
        segs += list(zip(pts, pts[1:]))
    return segs, [(12.5, 4.5, 0.5), (4.5, 12.5, 0.5)]

def fill():
    # Crossed short strokes at random-looking angles: placed fill.
    segs = [((1.5, 1.5), (5.5, 5.5)), ((5.5, 1.5), (1.5, 5.5)),
            ((9.5, 9.5), (13.5, 13.5)), ((13.5, 9.5), (9.5, 13.5)),
            ((10.5, 2.5), (14.5, 2.5)), ((2.5, 10.5), (2.5, 14.5))]
    return segs, []

PATTERNS = {
    "clay": clay, "sand": sand, "silt": silt, "strong-rock": strong_rock,
    "weak-rock": weak_rock, "gravel": gravel, "fill": fill,
}

def distance_to_segment(px, py, a, b):
    (x0, y0), (x1, y1) = a, b
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / length2))
    return math.hypot(px - (x0 + t * dx), py - (y0 + t * dy))

def render(pattern, scale, half_width):
    """Rows of booleans (True = black) of one tile."""
    segs, dots = pattern()
    size = CELL * scale
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            px, py = (i + 0.5) / scale, (j + 0.5) / scale
            black = False
            # The cell repeats: shapes reaching over an edge show on the other side.
            for ox in (-CELL, 0, CELL):
                for oy in (-CELL, 0, CELL):
                    qx, qy = px - ox, py - oy
                    if any(distance_to_segment(qx, qy, a, b) <= half_width for a, b in segs) or \
                       any(math.hypot(qx - x, qy - y) <= max(r, half_width) for x, y, r in dots):
                        black = True
                        break
                if black:
                    break
            row.append(black)
        rows.append(row)
    return rows

def write_png(path, rows):
    """A 1-bit greyscale PNG: 0 black, 1 white."""
    width, height = len(rows[0]), len(rows)
    raw = bytearray()
    for row in rows:
        raw.append(0)  # no filter
        bits = 0
        for i, black in enumerate(row):
            bits = (bits << 1) | (0 if black else 1)
            if i % 8 == 7:
                raw.append(bits)
                bits = 0
        if width % 8:
            raw.append(bits << (8 - width % 8))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 1, 0, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))

def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "resources", "hatches")
    os.makedirs(output, exist_ok=True)
    for name, pattern in PATTERNS.items():
        write_png(os.path.join(output, name + ".png"), render(pattern, 1, 0.5))
        write_png(os.path.join(output, name + "-print.png"), render(pattern, 4, 0.35))
        print(name)

if __name__ == "__main__":
    main()
