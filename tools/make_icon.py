#!/usr/bin/env python3
"""Generate Glimvane's program icon: res/glimvane.ico.

One 48x48, 32-bit BGRA image in a single-entry ICO. It shows a half-transparent
"ghost" window behind a solid window (deep blue title bar, light body) carrying a
two-headed diagonal resize arrow: resizing and opacity, the two things the tool does.

Rerun from anywhere:  python3 tools/make_icon.py [output.ico]
Standard library only; the output is byte-for-byte identical on every run.
"""
import math
import pathlib
import struct
import sys

SIZE = 48
SS = 4  # 4x4 supersampling per pixel gives smooth edges without a rasteriser

GHOST = (2, 2, 30, 30)
FRONT = (12, 12, 46, 46)
TITLE_H = 9
RADIUS = 4.0
BORDER = 1.5

DARK = (16, 42, 104)
BLUE = (30, 86, 184)
BODY = (242, 246, 252)
ARROW = (30, 86, 184)


def in_round_rect(x, y, rect, r):
    x0, y0, x1, y1 = rect
    if not (x0 <= x <= x1 and y0 <= y <= y1):
        return False
    # Only the corners need a distance test; clamping finds the nearest corner centre.
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def inset(rect, d):
    return (rect[0] + d, rect[1] + d, rect[2] - d, rect[3] - d)


def in_arrow(x, y):
    # Work in coordinates rotated 45 degrees so the arrow is axis-aligned.
    cx, cy, half, shaft, head = 29.0, 33.0, 11.5, 1.8, 6.0
    u = ((x - cx) + (y - cy)) / math.sqrt(2)
    v = ((x - cx) - (y - cy)) / math.sqrt(2)
    if abs(u) > half:
        return False
    if abs(u) >= half - head:
        return abs(v) <= half - abs(u)  # 45-degree arrowhead
    return abs(v) <= shaft


def window_layers(x, y, rect):
    """Colour of a window at a sample point, or None outside it."""
    if not in_round_rect(x, y, rect, RADIUS):
        return None
    if not in_round_rect(x, y, inset(rect, BORDER), RADIUS - BORDER):
        return DARK
    return BLUE if y < rect[1] + TITLE_H else BODY


def sample(x, y):
    """Premultiplied RGBA of the scene at one sub-pixel point (painter's order)."""
    r = g = b = a = 0.0
    layers = []
    ghost = window_layers(x, y, GHOST)
    if ghost is not None:
        layers.append((ghost, 0.75 if ghost != BODY else 0.35))
    front = window_layers(x, y, FRONT)
    if front is not None:
        layers.append((front, 1.0))
        if front == BODY and in_arrow(x, y):
            layers.append((ARROW, 1.0))
    for (sr, sg, sb), sa in layers:
        r, g, b, a = (sr * sa + r * (1 - sa), sg * sa + g * (1 - sa),
                      sb * sa + b * (1 - sa), sa + a * (1 - sa))
    return r, g, b, a


def render():
    """Rows top-down, each a list of (b, g, r, a) bytes."""
    rows = []
    n = SS * SS
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            acc = [0.0] * 4
            for j in range(SS):
                for i in range(SS):
                    s = sample(px + (i + 0.5) / SS, py + (j + 0.5) / SS)
                    acc = [p + q for p, q in zip(acc, s)]
            r, g, b, a = (c / n for c in acc)
            # ICO alpha is straight, not premultiplied.
            un = (lambda c: round(min(255.0, c / a))) if a > 0 else (lambda c: 0)
            row.append((un(b), un(g), un(r), round(a * 255)))
        rows.append(row)
    return rows


def build_ico(rows):
    xor = b"".join(bytes(c for px in row for c in px) for row in reversed(rows))
    mask_stride = ((SIZE + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    dib = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0,
                      len(xor) + len(mask), 0, 0, 0, 0) + xor + bytes(mask)
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(dib), 6 + 16)
    return header + entry + dib


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else root / "res" / "glimvane.ico"
    data = build_ico(render())
    out.parent.mkdir(parents=True, exist_ok=True)
    out.write_bytes(data)
    print(f"wrote {out} ({len(data)} bytes)")


if __name__ == "__main__":
    main()
