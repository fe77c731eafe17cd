#!/usr/bin/env python3
"""Writes res/font_item.bmp and res/veltrane.ico from the pixel maps below.

The images are committed; run this only after changing a map:
    python3 tools/make_art.py
Both use the standard 16-colour palette at 4 bits per pixel.
"""
import struct
from pathlib import Path

PALETTE = [  # (red, green, blue) in palette order
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# Letters of the maps; '.' is a transparent icon pixel.
INDEX = {'K': 0, 'D': 1, 'N': 4, 'S': 7, 'G': 8, 'R': 9, 'Y': 11, 'B': 12, 'W': 15, '.': 0}

# The row bitmap: a grey outlined T, a blue T over it, on red (left out when drawn).
FONT_ITEM = [
    "RRRGGGGGGGGRRRRRRRR",
    "RRRGGRGGRGGRRRRRRRR",
    "RRRGRRGGRRGRRRRRRRR",
    "RRRGRRGBBBBBBBBRRRR",
    "RRRRRRGBBRBBRBBRRRR",
    "RRRRRRGBRRBBRRBRRRR",
    "RRRRRRGBRRBBRRBRRRR",
    "RRRRRRGGRRBBRRRRRRR",
    "RRRRGGGGGGBBRRRRRRR",
    "RRRRRRRRRRBBRRRRRRR",
    "RRRRRRRRRRBBRRRRRRR",
    "RRRRRRRRBBBBBBRRRRR",
]

# The application icon: a character file (a page) whose letters are the row bitmap's
# two Ts, joined by a chain link to a second page, the font it belongs to.
ICON_32 = [
    "................................",
    "...KKKKKKKKKKKKKKKKK............",
    "...KWWWWWWWWWWWWWWWKK...........",
    "...KWWWWWWWWWWWWWWWKWK..........",
    "...KWWGGGGGGGGGGWWWKWWK.........",
    "...KWWGWWWWGWWWGWWWKKKKK........",
    "...KWWGWWWWGWWWGWWWWWWWK........",
    "...KWWGWWWWGWWWGWWWWWWWK........",
    "...KWWWWWWWGBBBBBBBBBBWK........",
    "...KWWWWWWWGBBBBBBBBBBWK........",
    "...KWWWWWWWGBWWBBWWWBBWK........",
    "...KWWWWWWWGBWWBBWWWWBWK........",
    "...KWWWWWWWGWWWBBWWWWWWK........",
    "...KWWWWWWWGWWWBBWWWWWWK........",
    "...KWWWWWGGGGGWBBWWWWWWK........",
    "...KWWWWWWWWWWWBBWWWWWWK........",
    "...KWWWWWWWWWWWBBWWWWWWK........",
    "...KWWWWWWWWWWBBBBWWWWWK........",
    "...KWWWWWWWWWWWWWWWWWWWK........",
    "...KWWWWWWWWWWWWWWWWWWWK........",
    "...KWWWWWWWWYYYYYYYWWWWK........",
    "...KWWWWWWWYDWWWWWDYWWWK........",
    "...KWWWWWWWYDWWWWWDYWWWK........",
    "...KWWWWWWWYDWWWWWYYYYYYY.......",
    "...KWWWWWWWWYYYYYYDWWWWKDY......",
    "...KWWWWWWWWWWWWWYDWWWWKDY......",
    "...KWWWWWWWWWWWWWYDWWWWKDY......",
    "...KKKKKKKKKKKKKKKYYYYYYY.......",
    "................................",
    "................................",
    "................................",
    "................................",
]

ICON_16 = [
    "................",
    ".KKKKKKKKKK.....",
    ".KWWWWWWWWKK....",
    ".KWGGGGGWWKWK...",
    ".KWWWGBBBBBBK...",
    ".KWWWGWBBWWBK...",
    ".KWWWGWBBWWWK...",
    ".KWWGGGBBWWWK...",
    ".KWWWWBBBBWWK...",
    ".KWWWWWWWWWWK...",
    ".KWWWWWWWWYYYY..",
    ".KKKKKKKKYDDDDYK",
    ".........YYYYYSK",
    "...........KSSSK",
    "...........KSSSK",
    "...........KKKKK",
]


def pixel_rows(pixel_map):
    """4-bit pixel rows, bottom row first, each padded to 4 bytes."""
    rows = []
    for line in reversed(pixel_map):
        indexes = [INDEX[c] for c in line]
        if len(indexes) % 2:
            indexes.append(0)
        data = bytes(indexes[i] << 4 | indexes[i + 1] for i in range(0, len(indexes), 2))
        rows.append(data + b'\0' * (-len(data) % 4))
    return b''.join(rows)


def mask_rows(pixel_map):
    """1-bit AND mask rows, bottom row first: 1 where the icon is transparent."""
    rows = []
    for line in reversed(pixel_map):
        bits = ''.join('1' if c == '.' else '0' for c in line)
        data = int(bits, 2).to_bytes(len(bits) // 8, 'big')
        rows.append(data + b'\0' * (-len(data) % 4))
    return b''.join(rows)


def info_header(width, height, image_size):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def palette():
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)


def bitmap_file(pixel_map):
    pixels = pixel_rows(pixel_map)
    body = info_header(len(pixel_map[0]), len(pixel_map), len(pixels)) + palette() + pixels
    return struct.pack('<2sIHHI', b'BM', 14 + len(body), 0, 0, 14 + 40 + 64) + body


def scaled(pixel_map, size):
    """The map at `size` pixels a side, each pixel repeated: no blur, as at its own size."""
    side = len(pixel_map)
    return [''.join(pixel_map[y * side // size][x * side // size] for x in range(size)) for y in range(size)]


def icon_file(pixel_maps):
    images = []
    for pixel_map in pixel_maps:
        pixels = pixel_rows(pixel_map) + mask_rows(pixel_map)
        size = len(pixel_map)
        images.append((size, info_header(size, size * 2, len(pixels)) + palette() + pixels))
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in images:
        data += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return data + b''.join(image for _, image in images)


def main():
    for pixel_map in (FONT_ITEM, ICON_32, ICON_16):
        assert len(set(map(len, pixel_map))) == 1, 'ragged pixel map'
    assert len(ICON_32) == 32 and len(ICON_32[0]) == 32
    assert len(ICON_16) == 16 and len(ICON_16[0]) == 16
    res = Path(__file__).resolve().parent.parent / 'res'
    (res / 'font_item.bmp').write_bytes(bitmap_file(FONT_ITEM))
    # Beside the 96-DPI images, those Windows picks at 150 and 200 percent (icons of 48
    # and 64 pixels, small icons of 24), so that it never stretches one itself.
    (res / 'veltrane.ico').write_bytes(icon_file([ICON_32, ICON_16, scaled(ICON_32, 48), scaled(ICON_32, 64),
                                                  scaled(ICON_16, 24)]))


if __name__ == '__main__':
    main()
