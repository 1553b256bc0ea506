#!/usr/bin/env python3
"""Draws the programs' icons and the organiser's default background:

  resources/velkin.ico          the program and tray icon, 16, 32 and 48
                                pixels, 32-bit with alpha
  resources/skinedit.ico        the skin editor's icon, the same sizes
  resources/IDI_BACKGROUND.bmp  the paper tiled behind the trees and the
                                calendar, 24-bit, seamless when tiled

Pure Python on purpose, like make-bitmaps.py: the pictures are code and
come out the same on every machine. Run it after changing the drawing and
commit the files it writes.
"""

import math
import os
import struct
import sys

# ---- The icon: a blue tile holding a sheet of paper, ticked off in green.

TILE_TOP = (78, 148, 228)
TILE_BOTTOM = (26, 78, 158)
TILE_EDGE = (18, 56, 118)
SHEET = (252, 252, 248)
SHEET_SHADE = (214, 222, 232)
RULE = (150, 168, 190)
TICK = (46, 160, 66)
TICK_EDGE = (22, 104, 40)

SAMPLES = 4  # per pixel and axis


def rounded_box(x, y, left, top, right, bottom, radius):
    """Signed distance to a rounded rectangle (negative inside)."""
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    inside_x = left + radius <= x <= right - radius
    inside_y = top + radius <= y <= bottom - radius
    if inside_x or inside_y:
        return max(left - x, x - right, top - y, y - bottom)
    return math.hypot(x - cx, y - cy) - radius


def segment(x, y, ax, ay, bx, by):
    """Distance from the point to the segment a-b."""
    dx, dy = bx - ax, by - ay
    t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def icon_sample(x, y, size):
    """Colour and coverage (0 or 1) of one sample point, in unit coordinates."""
    pixel = 1.0 / size
    tile = rounded_box(x, y, 0.04, 0.04, 0.96, 0.96, 0.2)
    if tile > 0:
        return (0, 0, 0), 0.0
    colour = mix(TILE_TOP, TILE_BOTTOM, (y - 0.04) / 0.92)
    if tile > -max(pixel, 0.035):
        colour = TILE_EDGE
    # A soft light on the upper half of the tile.
    if y < 0.42 and tile < -0.06:
        colour = mix(colour, (255, 255, 255), 0.10)

    # The sheet, with a shadow to its lower right.
    left, top, right, bottom = 0.24, 0.16, 0.72, 0.84
    shadow = rounded_box(x - 0.035, y - 0.035, left, top, right, bottom, 0.05)
    if shadow < 0:
        colour = mix(colour, (0, 0, 0), 0.28)
    sheet = rounded_box(x, y, left, top, right, bottom, 0.05)
    if sheet < 0:
        colour = mix(SHEET, SHEET_SHADE, (y - top) / (bottom - top) * 0.6)
        # Ruled lines, only where there are pixels enough to show them.
        if size >= 32:
            for line_y in (0.30, 0.41):
                if abs(y - line_y) < 0.022 and left + 0.08 < x < right - 0.08:
                    colour = RULE
            if abs(y - 0.74) < 0.022 and left + 0.08 < x < right - 0.2:
                colour = RULE

    # The tick, running off the sheet to the right.
    thick = 0.085 if size >= 32 else 0.11
    a, b, c = (0.36, 0.56), (0.49, 0.70), (0.80, 0.30)
    d = min(segment(x, y, *a, *b), segment(x, y, *b, *c))
    if d < thick + 0.03:
        colour = TICK_EDGE
    if d < thick:
        colour = mix(TICK, (120, 210, 120), max(0.0, 0.5 - y) * 0.8)
    return colour, 1.0


# ---- The skin editor's icon: the same tile in plum, holding a painter's
# palette with four dabs of colour.

PLUM_TOP = (170, 102, 196)
PLUM_BOTTOM = (96, 44, 128)
PLUM_EDGE = (66, 28, 90)
PALETTE = (240, 214, 170)
PALETTE_EDGE = (150, 106, 58)
DABS = (((0.36, 0.40), (214, 48, 48)), ((0.53, 0.31), (246, 196, 40)),
        ((0.69, 0.41), (46, 160, 66)), ((0.66, 0.60), (48, 104, 214)))


def skinedit_sample(x, y, size):
    """Colour and coverage of one sample point of the editor's icon."""
    pixel = 1.0 / size
    tile = rounded_box(x, y, 0.04, 0.04, 0.96, 0.96, 0.2)
    if tile > 0:
        return (0, 0, 0), 0.0
    colour = mix(PLUM_TOP, PLUM_BOTTOM, (y - 0.04) / 0.92)
    if tile > -max(pixel, 0.035):
        colour = PLUM_EDGE
    if y < 0.42 and tile < -0.06:
        colour = mix(colour, (255, 255, 255), 0.10)

    # The palette: an ellipse with a thumb hole at its lower left.
    ex, ey = (x - 0.52) / 0.36, (y - 0.50) / 0.30
    inside = ex * ex + ey * ey
    hole = math.hypot(x - 0.34, y - 0.64) < (0.075 if size >= 32 else 0.09)
    if inside < 1.0 and not hole:
        edge = 1.0 - math.sqrt(inside)
        colour = PALETTE_EDGE if edge < max(1.6 * pixel, 0.06) else PALETTE
        for (dx, dy), dab in DABS:
            if math.hypot(x - dx, y - dy) < (0.075 if size >= 32 else 0.09):
                colour = dab
    return colour, 1.0


def draw_icon(size, sample=icon_sample):
    """Rows top to bottom of (r, g, b, a) pixels."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    colour, cover = sample(x, y, size)
                    r += colour[0] * cover
                    g += colour[1] * cover
                    b += colour[2] * cover
                    a += cover
            n = SAMPLES * SAMPLES
            if a:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / n)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def icon_image(rows):
    """One icon image: BITMAPINFOHEADER (double height), BGRA bottom-up,
    then the AND mask (set where fully transparent)."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, size * size * 4, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(colour) + bytes(mask)


def write_ico(path, sizes, sample=icon_sample):
    images = [icon_image(draw_icon(size, sample)) for size in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    with open(path, "wb") as f:
        f.write(out)


# ---- The background: pale paper with a fine, seamless grain and a faint
# woven diagonal, light enough for black text at any place.

BG_SIZE = 128
PAPER = (246, 244, 236)


def lattice(ix, iy, period, seed):
    ix %= period
    iy %= period
    h = (ix * 374761393 + iy * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0


def value_noise(x, y, period, seed):
    """Smooth noise that repeats every `period` lattice cells."""
    ix, iy = int(math.floor(x)), int(math.floor(y))
    fx, fy = x - ix, y - iy
    sx, sy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    top = lattice(ix, iy, period, seed) * (1 - sx) + lattice(ix + 1, iy, period, seed) * sx
    bottom = lattice(ix, iy + 1, period, seed) * (1 - sx) + lattice(ix + 1, iy + 1, period, seed) * sx
    return top * (1 - sy) + bottom * sy


def draw_background():
    rows = []
    for y in range(BG_SIZE):
        row = []
        for x in range(BG_SIZE):
            # Cloudy fibres over two scales, both repeating with the tile.
            n = 0.6 * value_noise(x / 16.0, y / 16.0, BG_SIZE // 16, 1)
            n += 0.4 * value_noise(x / 4.0, y / 4.0, BG_SIZE // 4, 2)
            grain = (n - 0.5) * 9.0
            # A faint diagonal weave: 16-pixel period divides the tile.
            weave = math.cos(2 * math.pi * (x + y) / 16.0) * 1.2
            weave += math.cos(2 * math.pi * (x - y) / 16.0) * 0.8
            shade = grain + weave
            row.append(tuple(max(0, min(255, round(c + shade * (1.0 if i < 2 else 1.3))))
                             for i, c in enumerate(PAPER)))
        rows.append(row)
    return rows


def write_bmp(path, rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    out = sys.argv[1] if len(sys.argv) > 1 else root
    write_ico(os.path.join(out, "velkin.ico"), [16, 32, 48])
    write_ico(os.path.join(out, "skinedit.ico"), [16, 32, 48], skinedit_sample)
    write_bmp(os.path.join(out, "IDI_BACKGROUND.bmp"), draw_background())


if __name__ == "__main__":
    main()
