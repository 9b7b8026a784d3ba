#!/usr/bin/env python3
"""Draws the library's bitmaps from their sources in res/bitmaps/src.

    python3 tools/bitmaps.py            rewrites res/bitmaps/*.bmp and docs/illustrations.png
    python3 tools/bitmaps.py --check    redraws into a temporary folder and compares the bytes
                                        with the committed bitmaps (exit status 1 on a difference)
    python3 tools/bitmaps.py --out DIR  writes the bitmaps into DIR instead

Python 3 alone, no other package: the rasteriser below is exact and has no anti-aliasing, so a
source gives the same bytes on every machine.

A source (NAME.draw) is a list of commands, one a line; '#' starts a comment. Points are x,y in
pixels from the top left, a point on a pixel's centre having whole coordinates; a filled shape
takes the pixels whose centres lie inside it (left and top edges inclusive). Colours are named
(see PALETTES); a colour the picture's palette lacks is an error.

  size W H                    the picture's size
  palette cassette|standard   its colour table (6 or 16 entries)
  colours-declared N          biClrUsed and biClrImportant
  pixels-per-metre N          biXPelsPerMeter and biYPelsPerMeter
  size-field rows|0           biSizeImage: the size of the pixel rows, or 0
  background COLOUR
  fill COLOUR P P P...        filled polygon (non-zero winding)
  shape FILL LINE WIDTH P P P...  filled polygon with its outline (FILL or LINE may be none)
  line COLOUR WIDTH P P...    polyline with round joins and ends
  arrow COLOUR WIDTH HEAD P P...  polyline ending in a triangular head HEAD pixels long
  disc FILL LINE WIDTH C R    circle of radius R about C
  text COLOUR SCALE P STRING  pixel-font text, its top left at P, cells SCALE pixels wide
  bold COLOUR SCALE P STRING  the same with strokes two pixels thick (SCALE must be 1)
  group [at P] [rotate DEG] [scale S | scale SX,SY] [shear K]
  end                         draws the commands between them moved, turned, scaled, sheared
  use FILE                    draws another source file (a part) here
"""
import argparse
import math
import os
import struct
import sys
import tempfile
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCES = os.path.join(ROOT, 'res', 'bitmaps', 'src')
BITMAPS = os.path.join(ROOT, 'res', 'bitmaps')
CONTACT_SHEET = os.path.join(ROOT, 'docs', 'illustrations.png')

NAMES = ['EVEN_T_C', 'EVEN_T_M', 'ODD_T_C_D1', 'ODD_T_C_D2', 'ODD_T_M_D1', 'ODD_T_M_D2',
         'ODD_Y_C_D1', 'ODD_Y_C_D2', 'ODD_Y_M_D1', 'ODD_Y_M_D2']
ILLUSTRATIONS = [['EVEN_T_C', 'ODD_T_C_D1', 'ODD_T_C_D2'],
                 ['EVEN_T_M', 'ODD_T_M_D1', 'ODD_T_M_D2']]

# Colour tables in index order, as (name, red, green, blue).
PALETTES = {
    'cassette': [('black', 0, 0, 0), ('white', 255, 255, 255), ('yellow', 255, 255, 0),
                 ('red', 255, 0, 0), ('silver', 192, 192, 192), ('grey', 128, 128, 128)],
    'standard': [('black', 0, 0, 0), ('darkred', 128, 0, 0), ('darkgreen', 0, 128, 0),
                 ('darkyellow', 128, 128, 0), ('darkblue', 0, 0, 128),
                 ('darkmagenta', 128, 0, 128), ('darkcyan', 0, 128, 128),
                 ('silver', 192, 192, 192), ('grey', 128, 128, 128), ('red', 255, 0, 0),
                 ('green', 0, 255, 0), ('yellow', 255, 255, 0), ('blue', 0, 0, 255),
                 ('magenta', 255, 0, 255), ('cyan', 0, 255, 255), ('white', 255, 255, 255)],
}

# A 5 x 7 pixel font, enough for the pictures' numerals and the contact sheet's labels.
FONT = {
    '0': ['01110', '10001', '10011', '10101', '11001', '10001', '01110'],
    '1': ['00100', '01100', '00100', '00100', '00100', '00100', '01110'],
    '2': ['01110', '10001', '00001', '00010', '00100', '01000', '11111'],
    '3': ['11110', '00001', '00001', '01110', '00001', '00001', '11110'],
    '4': ['00010', '00110', '01010', '10010', '11111', '00010', '00010'],
    'A': ['01110', '10001', '10001', '11111', '10001', '10001', '10001'],
    'C': ['01110', '10001', '10000', '10000', '10000', '10001', '01110'],
    'D': ['11110', '10001', '10001', '10001', '10001', '10001', '11110'],
    'E': ['11111', '10000', '10000', '11110', '10000', '10000', '11111'],
    'I': ['01110', '00100', '00100', '00100', '00100', '00100', '01110'],
    'L': ['10000', '10000', '10000', '10000', '10000', '10000', '11111'],
    'M': ['10001', '11011', '10101', '10101', '10001', '10001', '10001'],
    'N': ['10001', '11001', '10101', '10011', '10001', '10001', '10001'],
    'O': ['01110', '10001', '10001', '10001', '10001', '10001', '01110'],
    'S': ['01111', '10000', '10000', '01110', '00001', '00001', '11110'],
    'T': ['11111', '00100', '00100', '00100', '00100', '00100', '00100'],
    'U': ['10001', '10001', '10001', '10001', '10001', '10001', '01110'],
    'V': ['10001', '10001', '10001', '10001', '10001', '01010', '00100'],
    'Y': ['10001', '10001', '01010', '00100', '00100', '00100', '00100'],
    'Z': ['11111', '00001', '00010', '00100', '01000', '10000', '11111'],
    '_': ['00000', '00000', '00000', '00000', '00000', '00000', '11111'],
    ' ': ['00000'] * 7,
}

EPS = 1e-9


class DrawError(Exception):
    pass


# ---- Affine transforms: (a, b, c, d, e, f) maps (x, y) to (a x + c y + e, b x + d y + f) ----

def compose(m, n):
    a, b, c, d, e, f = m
    p, q, r, s, t, u = n
    return (a * p + c * q, b * p + d * q, a * r + c * s, b * r + d * s,
            a * t + c * u + e, b * t + d * u + f)


def snap(value):
    # Coordinates go to a grid of 1/4096 pixel, so that a sine or cosine that differs in its
    # last bit on another machine cannot move a pixel; the rest is exact IEEE arithmetic.
    return round(value * 4096) / 4096


def apply(m, point):
    x, y = point
    return (snap(m[0] * x + m[2] * y + m[4]), snap(m[1] * x + m[3] * y + m[5]))


def rotation(degrees):
    # Quarter turns exactly, so that turned text and sheets land on whole pixels.
    if degrees % 90 == 0:
        cos, sin = [(1, 0), (0, 1), (-1, 0), (0, -1)][int(degrees // 90) % 4]
    else:
        cos, sin = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))
    return (cos, sin, -sin, cos, 0, 0)


# ---- The canvas ----

class Canvas:
    def __init__(self, width, height, palette):
        self.width, self.height = width, height
        self.palette = palette
        self.index = {name: i for i, (name, _, _, _) in enumerate(PALETTES[palette])}
        self.pixels = [[0] * width for _ in range(height)]

    def colour(self, name):
        if name == 'none':
            return None
        if name not in self.index:
            raise DrawError('colour %r is not in the %s palette' % (name, self.palette))
        return self.index[name]

    def fill_polygon(self, colour, points):
        if colour is None or len(points) < 3:
            return
        edges = list(zip(points, points[1:] + points[:1]))
        top = max(0, math.ceil(min(y for _, y in points) - EPS))
        bottom = min(self.height - 1, math.floor(max(y for _, y in points) + EPS))
        for y in range(top, bottom + 1):
            crossings = []
            for (x0, y0), (x1, y1) in edges:
                if y0 <= y < y1 or y1 <= y < y0:
                    x = x0 + (y - y0) * (x1 - x0) / (y1 - y0)
                    crossings.append((x, 1 if y1 > y0 else -1))
            crossings.sort()
            winding = 0
            for i, (x, direction) in enumerate(crossings):
                winding += direction
                if winding != 0 and i + 1 < len(crossings):
                    start = max(0, math.ceil(x - EPS))
                    stop = min(self.width, math.ceil(crossings[i + 1][0] - EPS))
                    row = self.pixels[y]
                    for px in range(start, stop):
                        row[px] = colour

    def capsule(self, colour, p, q, width):
        """Every pixel whose centre lies within width / 2 of the segment pq."""
        if colour is None:
            return
        r = width / 2.0 + EPS
        (x0, y0), (x1, y1) = p, q
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy
        for y in range(max(0, math.ceil(min(y0, y1) - r)),
                       min(self.height - 1, math.floor(max(y0, y1) + r)) + 1):
            row = self.pixels[y]
            for x in range(max(0, math.ceil(min(x0, x1) - r)),
                           min(self.width - 1, math.floor(max(x0, x1) + r)) + 1):
                t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy)
                                                           / length2))
                ex, ey = x - (x0 + t * dx), y - (y0 + t * dy)
                if ex * ex + ey * ey <= r * r:
                    row[x] = colour


# ---- The drawing language ----

def parse_point(text):
    try:
        x, y = text.split(',')
        return (float(x), float(y))
    except ValueError:
        raise DrawError('not a point: %r' % text)


def read_lines(path):
    with open(path, encoding='utf-8') as source:
        for number, line in enumerate(source, 1):
            words = line.split('#', 1)[0].split()
            if words:
                yield number, words


def header(path):
    """The picture's size, palette and header fields, from its source's leading commands."""
    fields = {}
    for _, words in read_lines(path):
        if words[0] in ('size', 'palette', 'colours-declared', 'pixels-per-metre', 'size-field'):
            fields[words[0]] = words[1:]
    try:
        return {
            'width': int(fields['size'][0]), 'height': int(fields['size'][1]),
            'palette': fields['palette'][0],
            'declared': int(fields['colours-declared'][0]),
            'ppm': int(fields['pixels-per-metre'][0]),
            'size_field': fields['size-field'][0],
        }
    except (KeyError, IndexError, ValueError):
        raise DrawError('%s: size, palette, colours-declared, pixels-per-metre and size-field '
                        'are all required' % path)


def draw_file(canvas, path, matrix, depth=0):
    if depth > 8:
        raise DrawError('%s: parts nested too deeply' % path)
    stack = [matrix]
    for number, words in read_lines(path):
        try:
            draw_command(canvas, path, words, stack, depth)
        except DrawError as error:
            raise DrawError('%s:%d: %s' % (path, number, error))
        except (ValueError, IndexError):
            raise DrawError('%s:%d: cannot read %r' % (path, number, ' '.join(words)))
    if len(stack) != 1:
        raise DrawError('%s: group without end' % path)


def draw_command(canvas, path, words, stack, depth):
    command, args = words[0], words[1:]
    m = stack[-1]
    points = lambda texts: [apply(m, parse_point(t)) for t in texts]
    # Widths and radii follow the transform's scale (its geometric mean).
    scale = math.sqrt(abs(m[0] * m[3] - m[1] * m[2]))
    if command in ('size', 'palette', 'colours-declared', 'pixels-per-metre', 'size-field'):
        return
    if command == 'background':
        colour = canvas.colour(args[0])
        for row in canvas.pixels:
            row[:] = [colour] * canvas.width
    elif command == 'fill':
        canvas.fill_polygon(canvas.colour(args[0]), points(args[1:]))
    elif command == 'shape':
        outline, pts = canvas.colour(args[1]), points(args[3:])
        canvas.fill_polygon(canvas.colour(args[0]), pts)
        for p, q in zip(pts, pts[1:] + pts[:1]):
            canvas.capsule(outline, p, q, float(args[2]) * scale)
    elif command == 'line':
        colour, pts = canvas.colour(args[0]), points(args[2:])
        for p, q in zip(pts, pts[1:]):
            canvas.capsule(colour, p, q, float(args[1]) * scale)
    elif command == 'arrow':
        draw_arrow(canvas, canvas.colour(args[0]), float(args[1]) * scale,
                   float(args[2]) * scale, points(args[3:]))
    elif command == 'disc':
        fill, outline = canvas.colour(args[0]), canvas.colour(args[1])
        centre, radius = apply(m, parse_point(args[3])), float(args[4]) * scale
        steps = 64
        circle = [(snap(centre[0] + radius * math.cos(2 * math.pi * i / steps)),
                   snap(centre[1] + radius * math.sin(2 * math.pi * i / steps)))
                  for i in range(steps)]
        canvas.fill_polygon(fill, circle)
        for p, q in zip(circle, circle[1:] + circle[:1]):
            canvas.capsule(outline, p, q, float(args[2]) * scale)
    elif command in ('text', 'bold'):
        # text: each dot of a glyph is a square of SCALE pixels. bold: each dot is 2 x 2
        # pixels at steps of one, so that every stroke is two pixels thick and survives the
        # loss of a row or column when the dialog shrinks the picture.
        colour, cell = canvas.colour(args[0]), float(args[1])
        dot, advance = (cell, 6) if command == 'text' else (2.0, 7)
        if command == 'bold' and cell != 1:
            raise DrawError('bold text has cells of one pixel')
        left, top = parse_point(args[2])
        for i, char in enumerate(' '.join(args[3:])):
            if char not in FONT:
                raise DrawError('no glyph for %r' % char)
            for row, bits in enumerate(FONT[char]):
                for col, bit in enumerate(bits):
                    if bit == '1':
                        x, y = left + (i * advance + col) * cell, top + row * cell
                        canvas.fill_polygon(colour, points(['%r,%r' % (x, y),
                                                            '%r,%r' % (x + dot, y),
                                                            '%r,%r' % (x + dot, y + dot),
                                                            '%r,%r' % (x, y + dot)]))
    elif command == 'group':
        n, i = m, 0
        while i < len(args):
            key, value = args[i], args[i + 1]
            if key == 'at':
                x, y = parse_point(value)
                n = compose(n, (1, 0, 0, 1, x, y))
            elif key == 'rotate':
                n = compose(n, rotation(float(value)))
            elif key == 'scale':
                sx, sy = (parse_point(value) if ',' in value else (float(value), float(value)))
                n = compose(n, (sx, 0, 0, sy, 0, 0))
            elif key == 'shear':
                n = compose(n, (1, 0, float(value), 1, 0, 0))
            else:
                raise DrawError('unknown group key %r' % key)
            i += 2
        stack.append(n)
    elif command == 'end':
        if len(stack) == 1:
            raise DrawError('end without group')
        stack.pop()
    elif command == 'use':
        draw_file(canvas, os.path.join(os.path.dirname(path), args[0]), m, depth + 1)
    else:
        raise DrawError('unknown command %r' % command)


def draw_arrow(canvas, colour, width, head, pts):
    (x0, y0), (x1, y1) = pts[-2], pts[-1]
    length = math.hypot(x1 - x0, y1 - y0)
    ux, uy = (x1 - x0) / length, (y1 - y0) / length
    base = (x1 - ux * head, y1 - uy * head)
    # The shaft stops inside the head, so that its round end does not show past the head.
    shaft = pts[:-1] + [(x1 - ux * head * 0.6, y1 - uy * head * 0.6)]
    for p, q in zip(shaft, shaft[1:]):
        canvas.capsule(colour, p, q, width)
    half = head * 0.55
    canvas.fill_polygon(colour, [(x1, y1), (base[0] - uy * half, base[1] + ux * half),
                                 (base[0] + uy * half, base[1] - ux * half)])


def draw(name, source_dir=SOURCES):
    path = os.path.join(source_dir, name + '.draw')
    fields = header(path)
    canvas = Canvas(fields['width'], fields['height'], fields['palette'])
    draw_file(canvas, path, (1, 0, 0, 1, 0, 0))
    return fields, canvas


# ---- Output ----

def bmp_bytes(fields, canvas):
    """A bottom-up 4-bit BI_RGB bitmap file; the resource compiler drops its 14-byte header."""
    table = b''.join(struct.pack('<BBBB', b, g, r, 0) for _, r, g, b in PALETTES[canvas.palette])
    stride = (canvas.width * 4 + 31) // 32 * 4
    rows = bytearray()
    for row in reversed(canvas.pixels):
        packed = bytearray(stride)
        for x, index in enumerate(row):
            packed[x // 2] |= index << (4 if x % 2 == 0 else 0)
        rows += packed
    size_field = len(rows) if fields['size_field'] == 'rows' else int(fields['size_field'])
    info = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height, 1, 4, 0, size_field,
                       fields['ppm'], fields['ppm'], fields['declared'], fields['declared'])
    offset = 14 + len(info) + len(table)
    return struct.pack('<2sIHHI', b'BM', offset + len(rows), 0, 0, offset) + info + table + rows


def png_bytes(width, height, rows, palette):
    """An 8-bit palette PNG; rows are lists of palette indices."""
    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b''.join(b'\0' + bytes(row) for row in rows)
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 3, 0, 0, 0))
            + chunk(b'PLTE', b''.join(struct.pack('BBB', r, g, b) for r, g, b in palette))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def contact_sheet(pictures, zoom=3):
    """The six illustrations enlarged without smoothing, each under its name, and below them
    the same at their own size. Colours map through one palette: the standard one plus a
    light grey for the sheet's background."""
    sheet_palette = [(r, g, b) for _, r, g, b in PALETTES['standard']] + [(232, 232, 232)]
    to_sheet = {name: [sheet_palette.index((r, g, b)) for _, r, g, b in table]
                for name, table in PALETTES.items()}
    backdrop, ink = len(sheet_palette) - 1, 0
    cell, margin, label = 172 * zoom, 24, 7 * 3
    columns, rows = len(ILLUSTRATIONS[0]), len(ILLUSTRATIONS)
    actual_top = margin + rows * (label + 8 + cell + margin)
    width = margin + columns * (cell + margin)
    height = actual_top + label + 8 + 172 + margin
    canvas = [[backdrop] * width for _ in range(height)]

    def put_text(left, top, text, size):
        for i, char in enumerate(text):
            for row, bits in enumerate(FONT[char]):
                for col, bit in enumerate(bits):
                    if bit == '1':
                        for y in range(size):
                            for x in range(size):
                                canvas[top + row * size + y][left + (i * 6 + col) * size + x] = ink

    def put_picture(left, top, name, scale):
        picture = pictures[name]
        colours = to_sheet[picture.palette]
        for y in range(-1, 172 * scale + 1):  # a black frame just outside the picture
            canvas[top + y][left - 1] = canvas[top + y][left + 172 * scale] = ink
        for x in range(-1, 172 * scale + 1):
            canvas[top - 1][left + x] = canvas[top + 172 * scale][left + x] = ink
        for y in range(172 * scale):
            source = picture.pixels[y // scale]
            line = canvas[top + y]
            for x in range(172 * scale):
                line[left + x] = colours[source[x // scale]]

    for r, names in enumerate(ILLUSTRATIONS):
        top = margin + r * (label + 8 + cell + margin)
        for c, name in enumerate(names):
            left = margin + c * (cell + margin)
            put_text(left, top, name, 3)
            put_picture(left, top + label + 8, name, zoom)
    put_text(margin, actual_top, 'ACTUAL SIZE', 3)
    for i, name in enumerate([n for names in ILLUSTRATIONS for n in names]):
        put_picture(margin + i * (172 + 16), actual_top + label + 8, name, 1)
    return png_bytes(width, height, canvas, sheet_palette)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as out:
        out.write(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--check', action='store_true',
                        help='compare freshly drawn bitmaps with the committed ones')
    parser.add_argument('--out', help='folder for the bitmaps (default res/bitmaps)')
    options = parser.parse_args()
    try:
        drawn = {name: draw(name) for name in NAMES}
    except (DrawError, OSError) as error:
        sys.exit('bitmaps.py: %s' % error)
    if options.check:
        with tempfile.TemporaryDirectory() as folder:
            differ = []
            for name, (fields, canvas) in drawn.items():
                fresh = os.path.join(folder, name + '.bmp')
                write(fresh, bmp_bytes(fields, canvas))
                with open(fresh, 'rb') as a:
                    new = a.read()
                try:
                    with open(os.path.join(BITMAPS, name + '.bmp'), 'rb') as b:
                        old = b.read()
                except OSError:
                    old = None
                if new != old:
                    differ.append(name)
            if differ:
                print('Not as their sources draw them: %s.\nRun python3 tools/bitmaps.py and '
                      'commit the sources and the bitmaps together.' % ', '.join(differ))
                return 1
            print('All %d bitmaps are as their sources draw them.' % len(drawn))
            return 0
    out = options.out or BITMAPS
    for name, (fields, canvas) in drawn.items():
        write(os.path.join(out, name + '.bmp'), bmp_bytes(fields, canvas))
    if not options.out:
        write(CONTACT_SHEET, contact_sheet({n: c for n, (f, c) in drawn.items()}))
    print('Wrote %d bitmaps to %s%s' % (len(drawn), os.path.relpath(out, ROOT),
                                         '' if options.out else ' and ' +
                                         os.path.relpath(CONTACT_SHEET, ROOT)))
    return 0


if __name__ == '__main__':
    sys.exit(main())
