#!/usr/bin/env python3
"""Draws the settings dialog's small pictures as 16-colour bitmaps.

The list's style pictures (ID_TILE, ID_CENTER, ID_STRECH, ID_FIT, ID_FILL,
25 x 25 on white)
and the button glyphs (16 x 16 on olive, the colour the buttons leave
undrawn). Each picture is written from the character map below, one
character per pixel; the bottom-left pixel is the ground in every one.
Run it from the repository root to write resources/*.bmp again.
"""
import struct
import sys

PALETTE = {  # the 16 standard colours
    'k': (0, 0, 0), 'r': (128, 0, 0), 'g': (0, 128, 0), 'o': (128, 128, 0),
    'n': (0, 0, 128), 'm': (128, 0, 128), 't': (0, 128, 128), 's': (192, 192, 192),
    'd': (128, 128, 128), 'R': (255, 0, 0), 'G': (0, 255, 0), 'Y': (255, 255, 0),
    'B': (0, 0, 255), 'M': (255, 0, 255), 'C': (0, 255, 255), '.': (255, 255, 255),
}
ORDER = list(PALETTE)


def write_bmp(path, rows):
    height, width = len(rows), len(rows[0])
    assert all(len(r) == width for r in rows), path
    stride = ((width * 4 + 31) // 32) * 4
    pixels = b''
    for row in reversed(rows):
        nibbles = [ORDER.index(c) for c in row] + [0] * (stride * 2 - width)
        pixels += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, len(nibbles), 2))
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in PALETTE.values())
    offset = 14 + 40 + len(table)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(pixels), 0, 0, 16, 16)
    with open(path, 'wb') as f:
        f.write(header + info + table + pixels)


def frame(inside):
    """A black frame one pixel in from the edges around 21 x 21 pixels."""
    blank = '.' * 25
    return [blank, '.' + 'k' * 23 + '.'] + ['.k' + r + 'k.' for r in inside] + \
        ['.' + 'k' * 23 + '.', blank]


LANDSCAPE = ['CCCCCCCCC', 'CCCCCCYYC', 'CCCCCCYYC', 'CCCgCCCCC', 'CCgggCCCC',
             'CgggggCgC', 'ggggggggg', 'GGGGGGGGG', 'GGGGGGGGG']
BLANK9 = ['.' * 9] * 9


def tile():
    rows = ['.' * 21]
    for band in range(2):
        for y in range(9):
            rows.append('.' + LANDSCAPE[y] + '.' + LANDSCAPE[y] + '.')
        rows.append('.' * 21)
    return frame(rows)


def center():
    rows = ['.' * 21] * 6 + ['......' + LANDSCAPE[y] + '......' for y in range(9)] + ['.' * 21] * 6
    return frame(rows)


def stretch():
    return frame([
        '..........R..........',
        '.........RRR.........',
        '........RRRRR........',
        '..........R..........',
        '..........R..........',
        '.....................',
        '.....rrrsrrrsrrr.....',
        '.....sssssssssss.....',
        '..R..rsrrrsrrrsr..R..',
        '.RR..sssssssssss..RR.',
        'RRRRRrrrsrrrsrrrRRRRR',
        '.RR..sssssssssss..RR.',
        '..R..rsrrrsrrrsr..R..',
        '.....sssssssssss.....',
        '.....rrrsrrrsrrr.....',
        '.....................',
        '..........R..........',
        '..........R..........',
        '........RRRRR........',
        '.........RRR.........',
        '..........R..........',
    ])


def scene(height):
    """A landscape 21 pixels wide: sky, a sun, two hills and grass."""
    sun = 3 if height < 16 else 4
    sun_top = 1 if height < 16 else 2
    rows = []
    for y in range(height):
        row = ''
        for x in range(21):
            if y >= height - 2:
                c = 'G'
            elif any(y >= top + abs(x - peak) for peak, top in ((6, height - 9), (15, height - 6))):
                c = 'g'
            elif sun_top <= y < sun_top + sun and 14 <= x < 14 + sun:
                c = 'Y'
            else:
                c = 'C'
            row += c
        rows.append(row)
    return rows


def fit():
    """The whole picture in proportion, with bars above and below it."""
    bar = ['d' * 21] * 4
    return frame(bar + scene(13) + bar)


def fill():
    """The picture covering the whole frame."""
    return frame(scene(21))


GLYPHS = {
    'GLYPH_ADD': [
        'oooooooooooooooo', 'okkkkkkkkooooooo', 'ok......kkoooooo', 'ok......k.kooooo',
        'ok......kkkkoooo', 'ok.........koooo', 'ok.........koooo', 'ok......gggkoooo',
        'ok......gggkoooo', 'ok...ggggggggooo', 'ok...ggggggggooo', 'ok...ggggggggooo',
        'ok......gggkoooo', 'okkkkkkkgggkoooo', 'oooooooooooooooo', 'oooooooooooooooo',
    ],
    'GLYPH_LOAD': [
        'oooooooooooRoooo', 'ooooooooooRRRooo', 'oooooooooRRRRRoo', 'okkkkoooooRRRooo',
        'kYYYYkooooRRRooo', 'kYYYYYkkkkRRRkoo', 'kYYYYYYYYYYYYkoo', 'kYkkkkkkkkkkkkkk',
        'kYkYYYYYYYYYYYYk', 'kkYYYYYYYYYYYYko', 'kkYYYYYYYYYYYYko', 'kYYYYYYYYYYYYkoo',
        'kkkkkkkkkkkkkkoo', 'oooooooooooooooo', 'oooooooooooooooo', 'oooooooooooooooo',
    ],
    'GLYPH_SAVE': [
        'oooooooooooooooo', 'okkkkkkkkkkkkkko', 'oknk........knko', 'oknk........knko',
        'oknk........knko', 'oknk........knko', 'oknkkkkkkkkkknko', 'oknnnnnnnnnnnnko',
        'oknnkkkkkkkknnko', 'oknnkssssnsknnko', 'oknnkssssnsknnko', 'oknnkssssnsknnko',
        'oknnkssssnsknnko', 'okkkkkkkkkkkkkko', 'oooooooooooooooo', 'oooooooooooooooo',
    ],
    'GLYPH_BROWSE': [
        'oooooooooooooooo', 'oooooooooooooooo', 'oooooooooooooooo', 'okkkkooooooooooo',
        'kYYYYkoooooooooo', 'kYYYYYkkkkkkkooo', 'kYYYYYYYYYYYYkoo', 'kYkkkkkkkkkkkkkk',
        'kYkYYYYYYYYYYYYk', 'kkYYYYYYYYYYYYko', 'kkYYYYYYYYYYYYko', 'kYYYYYYYYYYYYkoo',
        'kkkkkkkkkkkkkkoo', 'oooooooooooooooo', 'oooooooooooooooo', 'oooooooooooooooo',
    ],
    'GLYPH_RESET': [
        'oooooooooooooooo', 'oooooooooooooooo', 'oooooBoooooooooo', 'ooooBBoooooooooo',
        'oooBBBBBBBBooooo', 'ooBBBBBBBBBBBooo', 'oooBBBBBBBBBBBoo', 'ooooBBoooooBBBoo',
        'oooooBooooooBBBo', 'ooooooooooooBBBo', 'ooooooooooooBBBo', 'oooooooooooBBBoo',
        'oooooBBBBBBBBBoo', 'oooooBBBBBBBBooo', 'oooooooooooooooo', 'oooooooooooooooo',
    ],
}


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else 'resources'
    pictures = {'ID_TILE': frame_checked(tile()), 'ID_CENTER': frame_checked(center()),
                'ID_STRECH': frame_checked(stretch()), 'ID_FIT': frame_checked(fit()),
                'ID_FILL': frame_checked(fill())}
    pictures.update(GLYPHS)
    for name, rows in pictures.items():
        write_bmp(f'{folder}/{name}.bmp', rows)


def frame_checked(rows):
    assert len(rows) == 25 and all(len(r) == 25 for r in rows)
    return rows


if __name__ == '__main__':
    main()
