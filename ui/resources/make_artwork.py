#!/usr/bin/env python3
"""Draws the setup program's logo (Logo.bmp) and icon (MainIcon.ico).

Both are 16-colour pictures drawn from strokes: a stylised "Q" mark (a ring with a tail) and, on the
logo, the word Quenfold. Edges are smoothed by sampling every pixel 4 x 4 times and picking the
palette shade nearest to the covered share. Run it from anywhere; it writes beside itself and gives
the same bytes on every run.
"""

import math
import os
import struct

NAVY = (20, 28, 72)
GOLD = (255, 196, 40)
WHITE = (255, 255, 255)
FRAME = (150, 120, 48)
SHADES = 6  # shades of each ink between the background and the full colour


def blend(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


# Palette: background, the gold and white shades, the frame, then two spares to fill 16 entries.
PALETTE = ([NAVY]
           + [blend(NAVY, GOLD, (i + 1) / SHADES) for i in range(SHADES)]
           + [blend(NAVY, WHITE, (i + 1) / SHADES) for i in range(SHADES)]
           + [FRAME, (0, 0, 0), (40, 56, 120)])
BACKGROUND, GOLD_INK, WHITE_INK, FRAME_INDEX = 0, 1, 1 + SHADES, 1 + 2 * SHADES
assert len(PALETTE) == 16


class Segment:
    def __init__(self, x1, y1, x2, y2):
        self.a, self.b = (x1, y1), (x2, y2)

    def distance(self, x, y):
        (ax, ay), (bx, by) = self.a, self.b
        dx, dy = bx - ax, by - ay
        t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
        t = min(1.0, max(0.0, t))
        return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


class Arc:
    """Part of a circle; angles in degrees, y pointing down (0 right, 90 down, 270 up)."""

    def __init__(self, cx, cy, r, start=0.0, end=360.0):
        self.c, self.r, self.start, self.end = (cx, cy), r, start, end

    def distance(self, x, y):
        cx, cy = self.c
        angle = math.degrees(math.atan2(y - cy, x - cx)) % 360.0
        if self.end - self.start >= 360.0 or self.start <= angle <= self.end or self.start <= angle + 360.0 <= self.end:
            return abs(math.hypot(x - cx, y - cy) - self.r)
        ends = [(cx + self.r * math.cos(math.radians(a)), cy + self.r * math.sin(math.radians(a)))
                for a in (self.start, self.end)]
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends)


class Stroke:
    """Primitives drawn with a round pen of the given half width."""

    def __init__(self, half_width, parts):
        self.half_width, self.parts = half_width, parts

    def covers(self, x, y):
        return any(p.distance(x, y) <= self.half_width for p in self.parts)


def glyph_parts(letter, x0, base):
    """Centre lines of one letter, its left edge at x0 and its baseline at base."""
    mid = base - 6.5  # centre of the lower-case bowls
    if letter == "Q":
        return [Arc(x0 + 10, base - 11, 9.5), Segment(x0 + 12, base - 7, x0 + 20, base + 1)], 23
    if letter == "u":
        return [Segment(x0 + 1.5, base - 13, x0 + 1.5, base - 6), Arc(x0 + 6.5, base - 6, 5, 0, 180),
                Segment(x0 + 11.5, base - 13, x0 + 11.5, base)], 15
    if letter == "e":
        return [Segment(x0 + 1, mid, x0 + 13, mid), Arc(x0 + 7, mid, 6, 40, 360)], 16
    if letter == "n":
        return [Segment(x0 + 1.5, base - 13, x0 + 1.5, base), Arc(x0 + 6.5, base - 8, 5, 180, 360),
                Segment(x0 + 11.5, base - 8, x0 + 11.5, base)], 15
    if letter == "f":
        return [Segment(x0 + 3, base - 18, x0 + 3, base), Arc(x0 + 7, base - 18, 4, 180, 315),
                Segment(x0, base - 13, x0 + 8, base - 13)], 11
    if letter == "o":
        return [Arc(x0 + 7, mid, 6)], 16
    if letter == "l":
        return [Segment(x0 + 1.5, base - 22, x0 + 1.5, base)], 6
    if letter == "d":
        return [Arc(x0 + 7, mid, 6), Segment(x0 + 13, base - 22, x0 + 13, base)], 16
    raise ValueError(letter)


def word_stroke(word, x0, base, half_width):
    parts = []
    for letter in word:
        letter_parts, advance = glyph_parts(letter, x0, base)
        parts += letter_parts
        x0 += advance
    return Stroke(half_width, parts)


def q_mark(cx, cy, ring_radius, half_width, tail_length):
    """The mark: a ring, its tail leaving it to the lower right."""
    inner = ring_radius * 0.35
    return Stroke(half_width, [Arc(cx, cy, ring_radius),
                               Segment(cx + inner, cy + inner, cx + inner + tail_length, cy + inner + tail_length)])


def coverage(stroke, px, py, samples=4):
    hits = sum(stroke.covers(px + (i + 0.5) / samples, py + (j + 0.5) / samples)
               for i in range(samples) for j in range(samples))
    return hits / (samples * samples)


def render(width, height, layers, background=lambda x, y: BACKGROUND):
    """Palette indices, top row first; later layers are drawn over earlier ones."""
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            index = background(x, y)
            for stroke, ink in layers:
                level = round(coverage(stroke, x, y) * SHADES)
                if level:
                    index = ink + level - 1
            row.append(index)
        rows.append(row)
    return rows


def pack_4bit(row):
    data = bytearray()
    for i in range(0, len(row), 2):
        high = row[i]
        low = row[i + 1] if i + 1 < len(row) else 0
        data.append(high << 4 | low)
    while len(data) % 4:
        data.append(0)
    return bytes(data)


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def bitmap_info(width, height, image_size):
    # BITMAPINFOHEADER: 4 bits a pixel, uncompressed (BI_RGB), 16 palette entries used.
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def write_bmp(path, rows):
    width, height = len(rows[0]), len(rows)
    pixels = b"".join(pack_4bit(row) for row in reversed(rows))  # bottom row first
    offset = 14 + 40 + 16 * 4
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(header + bitmap_info(width, height, len(pixels)) + palette_bytes() + pixels)


def pack_mask(row):
    data = bytearray()
    for i in range(0, len(row), 8):
        byte = 0
        for bit, transparent in enumerate(row[i:i + 8]):
            byte |= transparent << (7 - bit)
        data.append(byte)
    while len(data) % 4:
        data.append(0)
    return bytes(data)


def icon_image(size):
    """One icon image: the mark on a navy square with rounded corners, transparent outside it."""
    corner = size / 5

    def outside(x, y):
        cx = min(max(x + 0.5, corner), size - corner)
        cy = min(max(y + 0.5, corner), size - corner)
        return math.hypot(x + 0.5 - cx, y + 0.5 - cy) > corner

    scale = size / 32
    mark = q_mark(15 * scale, 14.5 * scale, 9.5 * scale, 2.8 * scale, 9 * scale)
    rows = render(size, size, [(mark, GOLD_INK)])
    mask = [[1 if outside(x, y) else 0 for x in range(size)] for y in range(size)]
    rows = [[0 if m else v for v, m in zip(row, mask_row)] for row, mask_row in zip(rows, mask)]
    colour = b"".join(pack_4bit(row) for row in reversed(rows))
    transparency = b"".join(pack_mask(row) for row in reversed(mask))
    # An icon image's header gives twice the height: the colour bits, then the transparency mask.
    return bitmap_info(size, 2 * size, len(colour) + len(transparency)) + palette_bytes() + colour + transparency


def write_ico(path, sizes):
    images = [icon_image(size) for size in sizes]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        directory += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    with open(path, "wb") as f:
        f.write(directory + b"".join(images))


def logo_rows():
    width, height = 204, 66

    def background(x, y):
        on_frame = x in (2, width - 3) and 2 <= y <= height - 3 or y in (2, height - 3) and 2 <= x <= width - 3
        return FRAME_INDEX if on_frame else BACKGROUND

    mark = q_mark(31, 30, 20, 4.2, 20)
    word = word_stroke("Quenfold", 66, 44, 1.7)
    return render(width, height, [(mark, GOLD_INK), (word, WHITE_INK)], background)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    write_bmp(os.path.join(here, "Logo.bmp"), logo_rows())
    write_ico(os.path.join(here, "MainIcon.ico"), [32, 16])


if __name__ == "__main__":
    main()
