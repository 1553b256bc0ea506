#!/usr/bin/env python3
"""Draws the tree's check-box bitmaps, resources/IDI_EMPTY.bmp and
resources/IDI_CHECK.bmp: 16 x 16 pixels, 24-bit, no palette.

Pure Python on purpose: the bitmaps are reproducible on any machine and the
picture lives here as code, not as an opaque binary. Run it after changing
the drawing and commit the two files it writes.

Everything outside the box is the key colour (250, 50, 250), which the
skinned painting turns transparent, so the box sits on whatever background
the tree shows.
"""

import os
import struct
import sys

SIZE = 16
KEY = (250, 50, 250)

# The box: a 13 x 13 square, centred on the row the expand box uses (y 8).
BOX_LEFT, BOX_TOP, BOX_SIZE = 1, 2, 13
BORDER = (28, 81, 128)          # a crisp dark slate blue
SHADE_DARK = (220, 222, 216)    # inner face, top-left corner
SHADE_LIGHT = (255, 255, 255)   # inner face, bottom-right corner
INNER_EDGE = (196, 205, 214)    # a faint inner line under the border, top and left
MARK = (33, 130, 33)            # the check mark
MARK_SOFT = 0.35                # weight of the mark on its softened edge pixels

# The check mark, 7 x 7, three pixels thick; '+' pixels soften the inner
# corner so the stroke reads as one line at 100 %.
CHECK = [
    "......#",
    ".....##",
    "#...###",
    "##+###.",
    "#####..",
    ".###...",
    "..#....",
]


def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def empty_box():
    pixels = [[KEY] * SIZE for _ in range(SIZE)]
    right = BOX_LEFT + BOX_SIZE - 1
    bottom = BOX_TOP + BOX_SIZE - 1
    span = 2.0 * (BOX_SIZE - 3)
    for y in range(BOX_TOP, bottom + 1):
        for x in range(BOX_LEFT, right + 1):
            if x in (BOX_LEFT, right) or y in (BOX_TOP, bottom):
                pixels[y][x] = BORDER
                continue
            # A soft diagonal light, brightest towards the bottom right.
            t = ((x - BOX_LEFT - 1) + (y - BOX_TOP - 1)) / span
            face = mix(SHADE_DARK, SHADE_LIGHT, t)
            if x == BOX_LEFT + 1 or y == BOX_TOP + 1:
                face = mix(face, INNER_EDGE, 0.5)
            pixels[y][x] = face
    return pixels


def checked_box():
    pixels = empty_box()
    left = BOX_LEFT + (BOX_SIZE - len(CHECK[0])) // 2
    top = BOX_TOP + (BOX_SIZE - len(CHECK)) // 2
    for row, line in enumerate(CHECK):
        for col, cell in enumerate(line):
            y, x = top + row, left + col
            if cell == "#":
                pixels[y][x] = MARK
            elif cell == "+":
                pixels[y][x] = mix(pixels[y][x], MARK, MARK_SOFT)
    return pixels


def bmp_bytes(pixels):
    """A bottom-up 24-bit BMP; rows of 16 pixels need no padding."""
    rows = []
    for line in reversed(pixels):
        rows.append(b"".join(bytes((b, g, r)) for r, g, b in line))
    image = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(image), 0, 0, 14 + len(info))
    return header + info + image


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    if len(sys.argv) > 1:
        root = sys.argv[1]
    os.makedirs(root, exist_ok=True)
    for name, pixels in (("IDI_EMPTY.bmp", empty_box()), ("IDI_CHECK.bmp", checked_box())):
        with open(os.path.join(root, name), "wb") as out:
            out.write(bmp_bytes(pixels))


if __name__ == "__main__":
    main()
