#!/usr/bin/env python3
"""Writes the program's generated images into src/resources/:

- marks.bmp: the result tree's image strip, 112 x 16 pixels, 24 bits, seven
  16 x 16 images in the order of the mark codes 0 to 6 (no mark, duplicate,
  not duplicate, mixed, comparing, delete, copy). Pure white is the
  transparent colour, so no image uses it.
- twinseek.ico: the application icon, 16 x 16 and 32 x 32, 32 bits with alpha
  and an AND mask.

Standard library only; the output is the same on every run.
Usage: scripts/gen-mark-images.py [output folder]
"""

import pathlib
import struct
import sys

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
RED = (255, 0, 0)
MAGENTA = (255, 0, 255)
GREEN = (0, 176, 0)
BLUE = (0, 0, 255)
GREY = (160, 160, 160)
DARK_GREY = (128, 128, 128)

SIZE = 16


class Canvas:
    """A width x height picture of RGB tuples, top row first."""

    def __init__(self, width, height, fill):
        self.width = width
        self.height = height
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, left, top, right, bottom, colour):
        """Fills the pixels left..right, top..bottom (inclusive)."""
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                self.put(x, y, colour)


def diamond(canvas, ox, radius, fill, outline):
    """A diamond centred between pixels 7 and 8, drawn into image ox."""
    for y in range(SIZE):
        for x in range(SIZE):
            distance = abs(x - 7.5) + abs(y - 7.5)
            if distance <= radius - 1:
                if fill is not None:
                    canvas.put(ox + x, y, fill)
            elif distance <= radius:
                canvas.put(ox + x, y, outline)


def mark_none(canvas, ox):
    diamond(canvas, ox, 7, None, BLACK)


def mark_duplicate(canvas, ox):
    diamond(canvas, ox, 7, MAGENTA, MAGENTA)
    diamond(canvas, ox, 3, RED, RED)


def mark_unique(canvas, ox):
    canvas.rect(ox + 2, 2, ox + 13, 13, BLUE)
    canvas.rect(ox + 4, 4, ox + 11, 11, GREEN)


def mark_mixed(canvas, ox):
    diamond(canvas, ox, 7, GREY, BLACK)


def mark_comparing(canvas, ox):
    canvas.rect(ox + 5, 1, ox + 10, 6, RED)
    canvas.rect(ox + 1, 9, ox + 6, 14, GREEN)
    canvas.rect(ox + 9, 9, ox + 14, 14, BLACK)


def mark_delete(canvas, ox):
    for i in range(2, 14):
        for dx in (0, 1):
            canvas.put(ox + i + dx, i, RED)
            canvas.put(ox + 15 - i - dx, i, RED)


def left_arrow(canvas, ox, dx, dy, colour):
    # Head: a triangle whose point is at x 1, rows 2..13; shaft to x 14.
    for x in range(1, 8):
        half = x - 1
        canvas.rect(ox + x + dx, 7 - half + dy, ox + x + dx, 8 + half + dy,
                    colour)
    canvas.rect(ox + 8 + dx, 5 + dy, ox + 13 + dx, 10 + dy, colour)


def mark_copy(canvas, ox):
    left_arrow(canvas, ox, 1, 1, DARK_GREY)
    left_arrow(canvas, ox, 0, 0, GREEN)


MARKS = [mark_none, mark_duplicate, mark_unique, mark_mixed, mark_comparing,
         mark_delete, mark_copy]


def bmp_bytes(canvas):
    """A bottom-up 24-bit BMP file of the canvas."""
    row_size = (canvas.width * 3 + 3) // 4 * 4
    rows = []
    for row in reversed(canvas.pixels):
        data = b"".join(bytes((b, g, r)) for (r, g, b) in row)
        rows.append(data + b"\0" * (row_size - len(data)))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24,
                       0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0,
                         14 + len(info))
    return header + info + pixels


def mark_strip():
    canvas = Canvas(SIZE * len(MARKS), SIZE, WHITE)
    for index, draw in enumerate(MARKS):
        draw(canvas, index * SIZE)
    return canvas


def icon_image(size):
    """The application icon at one size: two overlapping pages (a file and
    its twin) and an equals sign; None marks a transparent pixel."""
    canvas = Canvas(size, size, None)
    s = size / 32.0

    def box(left, top, right, bottom, colour):
        canvas.rect(round(left * s), round(top * s), round(right * s) - 1,
                    round(bottom * s) - 1, colour)

    def page(left, top, fill):
        box(left, top, left + 18, top + 22, (32, 32, 32))
        box(left + 1, top + 1, left + 17, top + 21, fill)

    page(2, 2, (120, 170, 240))
    page(12, 8, (250, 200, 90))
    box(15, 15, 27, 18, (32, 32, 32))
    box(15, 22, 27, 25, (32, 32, 32))
    return canvas


def ico_entry_data(canvas):
    """BITMAPINFOHEADER, 32-bit BGRA rows and the AND mask, bottom-up."""
    size = canvas.width
    colour = []
    mask = []
    mask_row_size = (size + 31) // 32 * 4
    for row in reversed(canvas.pixels):
        bits = 0
        for pixel in row:
            if pixel is None:
                colour.append(b"\0\0\0\0")
            else:
                r, g, b = pixel
                colour.append(bytes((b, g, r, 255)))
            bits = (bits << 1) | (1 if pixel is None else 0)
        mask.append(bits.to_bytes((size + 7) // 8, "big").ljust(mask_row_size,
                                                                b"\0"))
    body = b"".join(colour) + b"".join(mask)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                       len(body), 0, 0, 0, 0)
    return info + body


def ico_bytes(canvases):
    entries = [ico_entry_data(c) for c in canvases]
    header = struct.pack("<HHH", 0, 1, len(entries))
    directory = b""
    offset = 6 + 16 * len(entries)
    for canvas, data in zip(canvases, entries):
        directory += struct.pack("<BBBBHHII", canvas.width % 256,
                                 canvas.height % 256, 0, 0, 1, 32, len(data),
                                 offset)
        offset += len(data)
    return header + directory + b"".join(entries)


def main():
    if len(sys.argv) > 1:
        out = pathlib.Path(sys.argv[1])
    else:
        out = pathlib.Path(__file__).resolve().parent.parent / "src" / "resources"
    (out / "marks.bmp").write_bytes(bmp_bytes(mark_strip()))
    (out / "twinseek.ico").write_bytes(
        ico_bytes([icon_image(16), icon_image(32)]))


if __name__ == "__main__":
    main()
