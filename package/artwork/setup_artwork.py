#!/usr/bin/env python3
"""Draws Setup's icon and cursor from character maps.

  setup_artwork.py ICON_FILE CURSOR_FILE

The icon (resource 128) is a 32 x 32 printer with a sheet in it and one
coming out, in the sixteen colours every Windows since 95 shows; the cursor
(resource 131) is a 32 x 32 black-and-white arrow with its hot spot at the
tip. The icon is written as the .ico file the resource compiler takes: a
directory of one image, then the image as a bottom-up device-independent
bitmap with its colour (XOR) mask and its transparency (AND) mask, each row
padded to four bytes.
"""

import struct
import sys

from windows_images import monochrome_cursor

SIZE = 32

# The sixteen colours of the standard palette, in its order (B, G, R).
PALETTE16 = [
    (0x00, 0x00, 0x00), (0x00, 0x00, 0x80), (0x00, 0x80, 0x00), (0x00, 0x80, 0x80),
    (0x80, 0x00, 0x00), (0x80, 0x00, 0x80), (0x80, 0x80, 0x00), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# Map characters to palette entries; '.' is transparent.
ICON_COLOURS = {"k": 0, "d": 8, "g": 7, "w": 15, "G": 10, "b": 4}

ICON = [
    "................................",
    "................................",
    "................................",
    ".........kkkkkkkkkkkkkk.........",
    ".........kwwwwwwwwwwwwk.........",
    ".........kwbbbbbbbbbbwk.........",
    ".........kwwwwwwwwwwwwk.........",
    ".........kwbbbbbbbbwwwk.........",
    ".........kwwwwwwwwwwwwk.........",
    ".........kwbbbbbbbbbbwk.........",
    "......kkkkwwwwwwwwwwwwkkkk......",
    ".....kggggwwwwwwwwwwwwggggk.....",
    "....kgwwwwwwwwwwwwwwwwwwwwgk....",
    "...kgwggggggggggggggggggggwgk...",
    "..kgwgggggggggggggggggggggGgdk..",
    "..kgwggggggggggggggggggggggddk..",
    "..kgwggggggggggggggggggggggddk..",
    "..kgwgggggggggggggggggggggggdk..",
    "..kgwkkkkkkkkkkkkkkkkkkkkkkgdk..",
    "..kgwgddddddddddddddddddddgddk..",
    "..kgwggggggggggggggggggggggddk..",
    "..kgdddddddddddddddddddddddddk..",
    "..kkkkkkkwwwwwwwwwwwwwwkkkkkkk..",
    ".......kwwwwwwwwwwwwwwwwk.......",
    "......kwbbbbbbbbbbbbbbbwwk......",
    ".....kwwwwwwwwwwwwwwwwwwwwk.....",
    "....kwwbbbbbbbbbbbbbwwwwwwwk....",
    "...kwwwwwwwwwwwwwwwwwwwwwwwwk...",
    "...kkkkkkkkkkkkkkkkkkkkkkkkkk...",
    "................................",
    "................................",
    "................................",
]

# A blank is transparent, '.' white, '#' black (windows_images.py).
ARROW = [
    "#",
    "##",
    "#.#",
    "#..#",
    "#...#",
    "#....#",
    "#.....#",
    "#......#",
    "#.......#",
    "#........#",
    "#.........#",
    "#......#####",
    "#...#..#",
    "#..##..#",
    "#.#  #..#",
    "##   #..#",
    "#     #..#",
    "      #..#",
    "       ##",
]
ARROW_HOT_SPOT = (0, 0)


def padded(row):
    return row + b"\0" * (-len(row) % 4)


def mask_rows(picture):
    """The AND mask, bottom row first: 1 where the picture is transparent."""
    rows = []
    for line in reversed(picture):
        bits = 0
        for x in range(SIZE):
            transparent = x >= len(line) or line[x] == "."
            bits = (bits << 1) | transparent
        rows.append(padded(bits.to_bytes(SIZE // 8, "big")))
    return b"".join(rows)


def bitmap_header(bits_per_pixel, colours, image_bytes):
    # The height counts both masks.
    return struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, bits_per_pixel, 0, image_bytes, 0, 0,
                       colours, 0)


def palette_bytes(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for b, g, r in colours)


def icon_image():
    rows = []
    for line in reversed(ICON):
        indices = [ICON_COLOURS.get(c, 0) for c in line]
        rows.append(padded(bytes((indices[x] << 4) | indices[x + 1] for x in range(0, SIZE, 2))))
    colour = b"".join(rows)
    mask = mask_rows(ICON)
    return bitmap_header(4, 16, len(colour) + len(mask)) + palette_bytes(PALETTE16) + colour + mask


def icon_file(image):
    """A one-image icon file: 16 colours, one plane, 4 bits per pixel."""
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return header + entry + image


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: setup_artwork.py ICON_FILE CURSOR_FILE")
    assert len(ICON) == SIZE and all(len(line) == SIZE for line in ICON), "the icon map is not 32 x 32"
    with open(sys.argv[1], "wb") as out:
        out.write(icon_file(icon_image()))
    with open(sys.argv[2], "wb") as out:
        out.write(monochrome_cursor(ARROW, ARROW_HOT_SPOT, SIZE))


if __name__ == "__main__":
    main()
