#!/usr/bin/env python3
"""Draws the bundled skins' pictures and writes their descriptions:

  skins/Default/   the organiser's own look: 264 x 352, rounded, a blue title
                   strip, pill-shaped tab buttons, a quiet paper background
                   behind the trees; 24-bit bitmaps
  skins/Slate/     a dark look of another size, 300 x 420, with its tab
                   buttons along the bottom; its bitmaps use other depths
                   (16-bit 5-6-5 fields, 8-bit and 4-bit colour tables,
                   32-bit top-down) so the organiser meets them all
  skins/Plain/     the 2-byte file that chooses the plain window look

Each folder gets its .bmp files and a skin.txt naming the skin's values and
which bitmap goes into which slot. The build assembles the skin files from
these with the project's own writer (tools/skinpack); change a picture here
or by hand, and rebuild.

Pure Python on purpose, like make-bitmaps.py: the pictures are code and come
out the same on every machine. Shapes are drawn from signed distances, so
every edge is smoothed by one pixel; the labels use a small stroke font
defined below.
"""

import math
import os
import random
import struct
import sys

KEY = (250, 50, 250)


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def hexrgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


# ---- Signed distances (negative inside), in pixels.

def rounded_rect(left, top, right, bottom, radius):
    def sdf(x, y):
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        if left + radius <= x <= right - radius or top + radius <= y <= bottom - radius:
            return max(left - x, x - right, top - y, y - bottom)
        return math.hypot(x - cx, y - cy) - radius
    return sdf, (left, top, right, bottom)


def circle(cx, cy, r):
    return (lambda x, y: math.hypot(x - cx, y - cy) - r), (cx - r, cy - r, cx + r, cy + r)


def outline(shape, width):
    sdf, box = shape
    pad = width
    return (lambda x, y: abs(sdf(x, y)) - width / 2), (box[0] - pad, box[1] - pad, box[2] + pad, box[3] + pad)


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else clamp(((x - ax) * dx + (y - ay) * dy) / length)
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def strokes(segments, width):
    half = width / 2
    xs = [p for s in segments for p in (s[0], s[2])]
    ys = [p for s in segments for p in (s[1], s[3])]
    box = (min(xs) - width, min(ys) - width, max(xs) + width, max(ys) + width)

    def sdf(x, y):
        return min(segment_distance(x, y, *s) for s in segments) - half
    return sdf, box


# ---- The canvas.

class Canvas:
    def __init__(self, width, height, colour=(0, 0, 0)):
        self.width, self.height = width, height
        self.px = [[tuple(colour) for _ in range(width)] for _ in range(height)]

    def fill(self, colour_at):
        for y in range(self.height):
            row = self.px[y]
            for x in range(self.width):
                row[x] = colour_at(x + 0.5, y + 0.5)

    def draw(self, shape, colour, alpha=1.0):
        """Blends `colour` (a colour, or a function of the point) where the
        shape covers, smoothed over one pixel at its edge."""
        sdf, (l, t, r, b) = shape
        for y in range(max(0, int(t) - 1), min(self.height, int(math.ceil(b)) + 1)):
            row = self.px[y]
            for x in range(max(0, int(l) - 1), min(self.width, int(math.ceil(r)) + 1)):
                cover = clamp(0.5 - sdf(x + 0.5, y + 0.5)) * alpha
                if cover <= 0:
                    continue
                c = colour(x + 0.5, y + 0.5) if callable(colour) else colour
                row[x] = mix(row[x], c, cover)

    def crop(self, left, top, right, bottom):
        part = Canvas(right - left, bottom - top)
        part.px = [list(self.px[y][left:right]) for y in range(top, bottom)]
        return part

    def pixels(self):
        return [[tuple(int(round(clamp(v, 0, 255))) for v in p) for p in row] for row in self.px]


# ---- A small stroke font: y up from the baseline, cap height 7, x-height 5.

def arc(cx, cy, rx, ry, start, end, steps=14):
    return [(cx + rx * math.cos(math.radians(start + (end - start) * i / steps)),
             cy + ry * math.sin(math.radians(start + (end - start) * i / steps))) for i in range(steps + 1)]


GLYPHS = {
    # (advance, [polylines])
    "A": (6.4, [[(0, 0), (2.8, 7), (5.6, 0)], [(1.1, 2.4), (4.5, 2.4)]]),
    "C": (6.4, [arc(3.3, 3.5, 3.1, 3.5, 48, 312)]),
    "D": (6.6, [[(0, 0), (0, 7), (2.4, 7)] + arc(2.4, 3.5, 3.4, 3.5, 90, -90) + [(0, 0)]]),
    "L": (5.0, [[(0, 7), (0, 0), (4.2, 0)]]),
    "V": (6.4, [[(0, 7), (2.9, 0), (5.8, 7)]]),
    "a": (5.0, [[(3.8, 0)] + arc(1.9, 3.3, 1.9, 1.7, 0, 160),
                [(3.8, 2.6), (2.2, 2.8)] + arc(1.9, 1.35, 1.75, 1.35, 100, 300) + [(3.8, 0.9)]]),
    "c": (4.8, [arc(2.3, 2.5, 2.3, 2.5, 42, 318)]),
    "d": (5.1, [arc(1.95, 2.5, 1.95, 2.5, 0, 360, 20), [(3.9, 0), (3.9, 7.4)]]),
    "e": (5.1, [[(0.1, 2.5), (4.6, 2.5)] + arc(2.35, 2.5, 2.3, 2.5, 0, 318)]),
    "i": (2.1, [[(0, 0), (0, 5)], [(0, 6.9), (0, 6.95)]]),
    "k": (4.7, [[(0, 0), (0, 7.4)], [(3.7, 5), (0.15, 1.8)], [(1.2, 2.8), (3.9, 0)]]),
    "l": (2.1, [[(0, 0), (0, 7.4)]]),
    "n": (5.1, [[(0, 0), (0, 5)], [(0, 3.3)] + arc(1.95, 3.1, 1.95, 1.9, 170, 0) + [(3.9, 0)]]),
    "o": (5.4, [arc(2.4, 2.5, 2.4, 2.5, 0, 360, 22)]),
    "r": (3.4, [[(0, 0), (0, 5)], [(0, 3.0)] + arc(2.1, 3.0, 2.1, 2.0, 180, 60, 8)]),
    "s": (4.6, [[(3.7, 4.3), (2.9, 5.0), (1.2, 5.0), (0.3, 4.4), (0.4, 3.2), (1.5, 2.7), (2.8, 2.3),
                 (3.8, 1.6), (3.7, 0.5), (2.7, 0.0), (1.0, 0.0), (0.1, 0.6)]]),
    "t": (3.5, [[(1.1, 6.5), (1.1, 1.0), (1.6, 0.1), (2.9, 0.0)], [(0, 5), (2.8, 5)]]),
    "v": (5.0, [[(0, 5), (2.2, 0), (4.4, 5)]]),
}


def text_width(text, scale, spacing=1.0):
    return sum((GLYPHS[c][0] + spacing) * scale for c in text) - spacing * scale


def text_shape(text, x, baseline, scale, weight, spacing=1.0):
    segments = []
    for c in text:
        advance, lines = GLYPHS[c]
        for line in lines:
            points = [(x + px * scale, baseline - py * scale) for px, py in line]
            for a, b in zip(points, points[1:]):
                segments.append((a[0], a[1], b[0], b[1]))
        x += (advance + spacing) * scale
    return strokes(segments, weight)


def draw_text(canvas, text, centre_x, baseline, scale, weight, colour):
    x = round(centre_x - text_width(text, scale) / 2) + 0.5
    canvas.draw(text_shape(text, x, baseline, scale, weight), colour)


# ---- .bmp files of several depths.

def row_bytes(data, stride):
    return data + b"\0" * (stride - len(data))


def bmp(pixels, depth=24, top_down=False, fields=False):
    """The whole file: depth 24 or 32 (direct), 16 with 5-6-5 bit fields,
    or 8 or 4 with a colour table of the picture's own colours."""
    height, width = len(pixels), len(pixels[0])
    stride = (width * depth + 31) // 32 * 4
    palette = []
    if depth <= 8:
        palette = sorted({p for row in pixels for p in row})
        assert len(palette) <= 1 << depth, "%d colours for %d bits" % (len(palette), depth)
        index = {c: i for i, c in enumerate(palette)}
    rows = []
    for row in pixels:
        if depth == 24:
            data = b"".join(bytes((b, g, r)) for r, g, b in row)
        elif depth == 32:
            data = b"".join(bytes((b, g, r, 0)) for r, g, b in row)
        elif depth == 16:
            data = b"".join(struct.pack("<H", (r >> 3) << 11 | (g >> 2) << 5 | b >> 3) for r, g, b in row)
        elif depth == 8:
            data = bytes(index[p] for p in row)
        else:
            values = [index[p] for p in row] + [0]
            data = bytes(values[i] << 4 | values[i + 1] for i in range(0, width, 2))
        rows.append(row_bytes(data, stride))
    if not top_down:
        rows.reverse()
    image = b"".join(rows)
    compression = 3 if depth == 16 else 0
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, depth, compression,
                       len(image), 2835, 2835, len(palette), 0)
    if depth == 16:
        info += struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    info += b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(image), 0, 0, 14 + len(info))
    return header + info + image


# ---- Skins.

BUTTONS = ("close", "lists", "active", "done", "calendar")
TABS = ("Lists", "Active", "Done", "Calendar")


class Skin:
    def __init__(self, name, width, height, radius, title, text, back, tree):
        self.name = name
        self.values = [("window", (width, height)), ("radius", (radius,)), ("titlebar", (title,)),
                       ("text", text), ("back", back), ("tree", tree)]
        self.rects = {}
        self.files = []  # (slot key, file name, bytes)

    def button(self, name, left, top, right, bottom):
        self.rects[name] = (left, right, top, bottom)

    def bitmap(self, key, data):
        self.files.append((key, key + ".bmp", data))

    def write(self, root):
        folder = os.path.join(root, self.name)
        os.makedirs(folder, exist_ok=True)
        lines = ["# The %s skin, written by scripts/make-skins.py; tools/skinpack makes the skin file." % self.name,
                 "# Rectangles: left right top bottom, in window pixels."]
        for key, numbers in self.values:
            lines.append("%-16s %s" % (key, " ".join(str(int(n)) for n in numbers)))
        for name in BUTTONS:
            lines.append("%-16s %s" % (name, " ".join(str(n) for n in self.rects[name])))
        for key, file_name, data in self.files:
            lines.append("%-16s %s" % (key, file_name))
            with open(os.path.join(folder, file_name), "wb") as out:
                out.write(data)
        with open(os.path.join(folder, "skin.txt"), "w", newline="\n") as out:
            out.write("\n".join(lines) + "\n")


def check_boxes(size_box, border, face, mark, paper, radius=2.0, tick=(255, 255, 255)):
    """The empty and checked boxes, 16 x 16: the key colour outside the box,
    smoothed against the paper the tree shows there."""
    pictures = []
    for checked in (False, True):
        c = Canvas(16, 16, paper)
        box = rounded_rect(2, 2, 2 + size_box, 2 + size_box, radius)
        c.draw(box, border)
        inner = rounded_rect(3, 3, 1 + size_box, 1 + size_box, max(radius - 1, 0.5))
        c.draw(inner, mark if checked else face)
        if checked:
            c.draw(strokes([(4.6, 8.4, 7.0, 10.8), (7.0, 10.8, 11.6, 5.4)], 1.9), tick)
        px = c.pixels()
        outside = box[0]
        for y in range(16):
            for x in range(16):
                if outside(x + 0.5, y + 0.5) >= 0.5:
                    px[y][x] = KEY
        pictures.append(px)
    return pictures


def paper_tile(size, base, grain, seed):
    """A seamless tile: the base colour with a fine random grain."""
    rnd = random.Random(seed)
    c = Canvas(size, size)
    c.px = [[mix(base, grain, rnd.random() ** 3 * 0.5) for _ in range(size)] for _ in range(size)]
    return c


def default_skin():
    W, H, TITLE = 264, 352, 34
    ink = (28, 42, 66)
    paper = (251, 252, 254)
    # The back colour is the calendar's title band, the weekday names on the
    # paper and the band behind today's white date: the title strip's dark
    # blue reads in all three (contrast above 7 : 1).
    s = Skin("Default", W, H, 24, TITLE, ink, (40, 83, 146), (16, 248, 76, 340))

    # The window: a blue title strip over a light body, a paper panel.
    c = Canvas(W, H)
    top, bottom = hexrgb("3A6DB0"), hexrgb("285392")
    body_top, body_bottom = hexrgb("EEF3F9"), hexrgb("E1E8F2")
    c.fill(lambda x, y: mix(top, bottom, y / TITLE) if y < TITLE else mix(body_top, body_bottom, (y - TITLE) / (H - TITLE)))
    c.draw(rounded_rect(0, TITLE - 1, W, TITLE, 0), hexrgb("1E4275"))       # the strip's lower edge
    c.draw(rounded_rect(0, TITLE, W, TITLE + 1, 0), (255, 255, 255), 0.7)  # and its light line
    c.draw(rounded_rect(0, 0, W, 1, 0), (255, 255, 255), 0.25)
    # The mark: a white tile with a tick, then the name.
    c.draw(rounded_rect(12, 9, 28, 25, 4), (255, 255, 255), 0.95)
    c.draw(strokes([(15.8, 17.2, 18.8, 20.2), (18.8, 20.2, 24.6, 13.6)], 2.2), hexrgb("2F7A3E"))
    title_x = 35.5
    c.draw(text_shape("Velkin", title_x, 22.0, 1.45, 1.7, 0.9), (255, 255, 255))
    # The panel behind the trees.
    panel = (10, 70, W - 10, H - 6)
    c.draw(rounded_rect(panel[0] + 1, panel[1] + 2, panel[2] + 1, panel[3] + 2, 8), hexrgb("C8D3E2"), 0.6)
    c.draw(rounded_rect(*panel, 8), hexrgb("B9C8DC"))
    c.draw(rounded_rect(panel[0] + 1, panel[1] + 1, panel[2] - 1, panel[3] - 1, 7), paper)
    # The outline: a thin dark edge following the window's rounded corners.
    c.draw(outline(rounded_rect(0.5, 0.5, W - 0.5, H - 0.5, 12), 1.0), hexrgb("1E3A63"), 0.85)
    background = c

    # Buttons: close in the strip; four pills for the tabs.
    close = (W - 34, 6, W - 12, 28)
    s.button("close", *close)
    pills, gap, left, row_top, row_bottom = 4, 4, 12, 42, 64
    width = (W - 2 * left - (pills - 1) * gap) // pills
    for i, label in enumerate(TABS):
        x = left + i * (width + gap)
        s.button(label.lower(), x, row_top, x + width, row_bottom)

    def close_button(state):
        b = background.crop(*close)
        cx, cy = (close[2] - close[0]) / 2, (close[3] - close[1]) / 2
        ring = {"normal": None, "hover": hexrgb("D9534F"), "selected": hexrgb("A83A36")}[state]
        if ring:
            b.draw(circle(cx, cy, 9.5), ring)
        else:
            b.draw(outline(circle(cx, cy, 9.0), 1.2), (255, 255, 255), 0.45)
        d = 3.6
        b.draw(strokes([(cx - d, cy - d, cx + d, cy + d), (cx - d, cy + d, cx + d, cy - d)], 1.8),
               (255, 255, 255), 1.0 if ring else 0.9)
        return b

    def tab_button(label, state):
        l, r, t, bt = s.rects[label.lower()]
        b = background.crop(l, t, r, bt)
        w, h = r - l, bt - t
        if state == "hover":
            b.draw(rounded_rect(0.5, 0.5, w - 0.5, h - 0.5, h / 2 - 0.5), hexrgb("DCE7F5"))
            b.draw(outline(rounded_rect(0.5, 0.5, w - 0.5, h - 0.5, h / 2 - 0.5), 1.0), hexrgb("A9C0DE"))
            ink_colour = hexrgb("1F4E8C")
        elif state == "selected":
            b.draw(rounded_rect(0.5, 1.5, w - 0.5, h + 0.5, h / 2 - 0.5), hexrgb("1B3F73"), 0.35)
            b.draw(rounded_rect(0.5, 0.5, w - 0.5, h - 0.5, h / 2 - 0.5),
                   lambda x, y: mix(hexrgb("3C7EDB"), hexrgb("2A62B6"), y / h))
            ink_colour = (255, 255, 255)
        else:
            ink_colour = hexrgb("4A5D78")
        draw_text(b, label, w / 2, h / 2 + 4.0, 1.08, 1.45, ink_colour)
        return b

    s.bitmap("background", bmp(background.pixels()))
    empty, checked = check_boxes(12, hexrgb("7D93B2"), (255, 255, 255), hexrgb("2F6FD0"), paper)
    s.bitmap("check-empty", bmp(empty))
    s.bitmap("check-checked", bmp(checked))
    s.bitmap("tree-background", bmp(paper_tile(64, paper, hexrgb("E4EAF2"), 7).pixels()))
    for state in ("normal", "hover", "selected"):
        s.bitmap("close-" + state, bmp(close_button(state).pixels()))
    for label in TABS:
        for state in ("normal", "hover", "selected"):
            s.bitmap(label.lower() + "-" + state, bmp(tab_button(label, state).pixels()))
    return s


def slate_skin():
    W, H, TITLE = 300, 420, 30
    ink = (230, 233, 238)
    s = Skin("Slate", W, H, 10, TITLE, ink, (150, 98, 36), (12, 288, 40, 370))
    amber = hexrgb("E8A33D")

    c = Canvas(W, H)
    c.fill(lambda x, y: mix(hexrgb("2B3038"), hexrgb("1C1F25"), y / H))
    c.draw(rounded_rect(0, 0, W, TITLE, 0), hexrgb("17191E"))
    c.draw(rounded_rect(0, TITLE - 2, W, TITLE, 0), amber)
    c.draw(text_shape("Velkin", 12.5, 20.0, 1.25, 1.5, 0.9), amber)
    # The well of the trees, sunk into the body.
    c.draw(rounded_rect(9, 37, W - 9, 373, 3), hexrgb("121418"))
    c.draw(rounded_rect(11, 39, W - 11, 371, 2), hexrgb("2A2F37"))
    # The tab bar along the bottom.
    c.draw(rounded_rect(0, 380, W, H, 0), hexrgb("17191E"))
    c.draw(rounded_rect(0, 380, W, 381, 0), hexrgb("3A404A"))
    background = c

    close = (W - 28, 4, W - 6, 24)
    s.button("close", *close)
    width = (W - 16) // 4
    for i, label in enumerate(TABS):
        x = 8 + i * width
        s.button(label.lower(), x, 386, x + width - 4, 414)

    def close_button(state):
        b = background.crop(*close)
        w, h = close[2] - close[0], close[3] - close[1]
        if state != "normal":
            b.draw(rounded_rect(0, 0, w, h, 3), amber if state == "hover" else hexrgb("B07620"))
        colour = hexrgb("17191E") if state != "normal" else hexrgb("9AA3B0")
        cx, cy, d = w / 2, h / 2, 3.5
        b.draw(strokes([(cx - d, cy - d, cx + d, cy + d), (cx - d, cy + d, cx + d, cy - d)], 1.6), colour)
        return b

    def tab_button(label, state):
        l, r, t, bt = s.rects[label.lower()]
        b = background.crop(l, t, r, bt)
        w, h = r - l, bt - t
        colour = hexrgb("8E97A4")
        if state == "hover":
            b.draw(rounded_rect(0, 0, w, h, 3), hexrgb("2B3038"))
            colour = ink
        elif state == "selected":
            b.draw(rounded_rect(0, 0, w, h, 3), hexrgb("2A2F37"))
            b.draw(rounded_rect(6, 0, w - 6, 3, 1), amber)
            colour = amber
        draw_text(b, label, w / 2, h / 2 + 4.5, 1.1, 1.45, colour)
        return b

    # The well's tile: a faint diagonal hatch on slate, few colours.
    tile = Canvas(32, 32)
    tile.fill(lambda x, y: hexrgb("2E343D") if int(x + y) % 16 in (0, 1) else hexrgb("2A2F37"))

    s.bitmap("background", bmp(background.pixels(), depth=16))
    empty, checked = check_boxes(11, hexrgb("8E97A4"), hexrgb("2A2F37"), amber, hexrgb("2A2F37"), radius=0.6,
                                 tick=hexrgb("17191E"))
    # Four bits hold a box drawn with few colours: its edges are not smoothed.
    for picture in (empty, checked):
        for row in picture:
            for x, p in enumerate(row):
                if p != KEY:
                    row[x] = min((hexrgb("8E97A4"), hexrgb("2A2F37"), amber, hexrgb("17191E")),
                                 key=lambda q: sum((a - b) ** 2 for a, b in zip(p, q)))
    s.bitmap("check-empty", bmp(empty, depth=4))
    s.bitmap("check-checked", bmp(checked, depth=4))
    s.bitmap("tree-background", bmp(tile.pixels(), depth=8))
    for state in ("normal", "hover", "selected"):
        s.bitmap("close-" + state, bmp(close_button(state).pixels(), depth=32, top_down=True))
    for label in TABS:
        for state in ("normal", "hover", "selected"):
            s.bitmap(label.lower() + "-" + state, bmp(tab_button(label, state).pixels(), depth=32, top_down=True))
    return s


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "skins")
    if len(sys.argv) > 1:
        root = sys.argv[1]
    for skin in (default_skin(), slate_skin()):
        skin.write(root)
    plain = os.path.join(root, "Plain")
    os.makedirs(plain, exist_ok=True)
    with open(os.path.join(plain, "skin.txt"), "w", newline="\n") as out:
        out.write("# The plain window look: the skin file is 2 bytes long and holds nothing else.\nplain\n")


if __name__ == "__main__":
    main()
