#!/usr/bin/env python3
"""Writes the bitmaps that picture_test.rc links into the picture test: 4-bit BMP files of
known sizes whose colours say which part of the picture lands where."""
import struct

RED, GREEN, BLUE, YELLOW, CYAN = (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), (0, 255, 255)


def write_bmp(path, width, height, colour_at):
    palette = []
    pixels = [[colour_at(x, y) for x in range(width)] for y in range(height)]
    for row in pixels:
        for colour in row:
            if colour not in palette:
                palette.append(colour)
    assert len(palette) <= 16
    stride = ((width + 1) // 2 + 3) // 4 * 4
    rows = b""
    for y in reversed(range(height)):  # bottom-up
        row = bytearray(stride)
        for x in range(width):
            index = palette.index(pixels[y][x])
            row[x // 2] |= index << (4 if x % 2 == 0 else 0)
        rows += bytes(row)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(rows), 2835, 2835,
                       len(palette), len(palette))
    with open(path, "wb") as f:
        f.write(header + info + colours + rows)


# 172 x 60 in four quadrants of 86 x 30: red, green / blue, yellow.
write_bmp("quads.bmp", 172, 60,
          lambda x, y: (RED if x < 86 else GREEN) if y < 30 else (BLUE if x < 86 else YELLOW))
# 20 x 20, all cyan.
write_bmp("cyan.bmp", 20, 20, lambda x, y: CYAN)
