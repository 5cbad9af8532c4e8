#!/usr/bin/env python3
"""Draws the autorun menu's artwork: the picture of the welcome dialog, the
three state bitmaps of the image buttons and the pointing-hand cursor.

Everything is drawn here from numbers, so the pictures are ours and the
build makes them again whenever this script changes:

  welcome.bmp         WELCOME_BMP, 164 x 314, 8 bits per pixel: a printer
                      with a page coming out, on a blue sky that brightens
                      downwards
  button_off.bmp      IDB_OFF_BUTTON, 17 x 17, 8 bits per pixel: a blue disc
                      with a white arrow
  button_on.bmp       IDB_ON_BUTTON: the same disc in red (pointed at)
  button_clicked.bmp  IDB_CLICKED_BUTTON: a darker red disc pushed one pixel
                      down and to the right (pressed)
  hand.cur            cursor 131, 32 x 32 monochrome, a hand pointing up
                      with its hot spot on the fingertip

Every button bitmap has the background colour 0xC6C3C6 (as a Windows
colour reference: red 0xC6, green 0xC3, blue 0xC6), which the buttons treat
as transparent; the discs have hard edges, so no pixel blends into that
colour and shows as a grey fringe on the dialog's white panel.

  make_artwork.py OUTPUT_FOLDER
"""

import math
import pathlib
import struct
import sys

from windows_images import monochrome_cursor

BUTTON_BACKGROUND = (0xC6, 0xC3, 0xC6)  # red, green, blue


def bmp_8bit(width, height, palette, pixels):
    """A bottom-up BITMAPINFOHEADER file with a 256-entry palette;
    `pixels[y][x]` indexes `palette` (rows top first, colours as RGB)."""
    assert len(palette) <= 256
    stride = (width + 3) & ~3
    rows = b"".join(bytes(pixels[y]) + bytes(stride - width) for y in reversed(range(height)))
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    table += bytes(4 * (256 - len(palette)))
    offset = 14 + 40 + len(table)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    return file_header + info + table + rows


# ---------------------------------------------------------------- picture

WELCOME_SIZE = (164, 314)
SKY_SHADES = 160  # palette entries 0..159: the sky, dark blue to pale blue
INK = {  # the printer's colours, after the sky's
    "white": (255, 255, 255),
    "paper": (250, 250, 246),
    "paper shade": (214, 218, 226),
    "text": (120, 132, 150),
    "body": (232, 234, 238),
    "body shade": (186, 190, 198),
    "body dark": (96, 102, 114),
    "slot": (40, 44, 52),
    "panel": (70, 78, 92),
    "lamp": (60, 200, 90),
    "floor": (30, 60, 120),
}


def sky(t):
    """Colour of the sky at height fraction t (0 top, 1 bottom)."""
    top, bottom = (16, 42, 110), (150, 196, 236)
    return tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))


def welcome_picture():
    width, height = WELCOME_SIZE
    palette = [sky(i / (SKY_SHADES - 1)) for i in range(SKY_SHADES)]
    ink = {}
    for name, colour in INK.items():
        ink[name] = len(palette)
        palette.append(colour)

    # The sky, with a gentle diagonal ripple so that the stretch to the
    # picture pane shows its halftoning rather than flat bands.
    pixels = []
    for y in range(height):
        row = []
        for x in range(width):
            t = y / (height - 1) + 0.03 * math.sin((x + y) / 11.0)
            row.append(min(SKY_SHADES - 1, max(0, round(t * (SKY_SHADES - 1)))))
        pixels.append(row)

    def fill(left, top, right, bottom, colour):
        for y in range(max(0, top), min(height, bottom)):
            for x in range(max(0, left), min(width, right)):
                pixels[y][x] = ink[colour]

    # The floor the printer stands on.
    fill(0, 236, width, height, "floor")
    # The printer: body, its shaded lower half, the output slot and the
    # control panel with its lamp.
    fill(22, 170, 142, 236, "body")
    fill(22, 214, 142, 236, "body shade")
    fill(22, 234, 142, 236, "body dark")
    fill(34, 180, 130, 186, "slot")
    fill(104, 196, 132, 208, "panel")
    fill(108, 199, 113, 204, "lamp")
    # The paper tray at the back.
    fill(38, 150, 126, 172, "body shade")
    fill(42, 120, 122, 152, "paper")
    # The printed page coming out of the slot, with lines of text.
    fill(40, 86, 124, 182, "paper")
    fill(120, 90, 124, 182, "paper shade")
    for line, top in enumerate(range(96, 170, 8)):
        right = 112 if line % 3 != 2 else 90
        fill(48, top, right, top + 3, "text")
    return bmp_8bit(width, height, palette, pixels)


# ---------------------------------------------------------------- buttons

BUTTON_SIZE = 17
DISCS = {  # file: (disc colour, arrow colour, offset of the drawing)
    "button_off.bmp": ((40, 90, 200), (255, 255, 255), 0),
    "button_on.bmp": ((220, 50, 40), (255, 255, 255), 0),
    "button_clicked.bmp": ((150, 24, 20), (255, 230, 200), 1),
}


def button_bitmap(disc, arrow, offset):
    palette = [BUTTON_BACKGROUND, disc, arrow]
    centre = (BUTTON_SIZE - 1) / 2 - 0.5 + offset
    radius = 7.0
    pixels = [[0] * BUTTON_SIZE for _ in range(BUTTON_SIZE)]
    for y in range(BUTTON_SIZE):
        for x in range(BUTTON_SIZE):
            if (x - centre) ** 2 + (y - centre) ** 2 <= radius ** 2:
                pixels[y][x] = 1
    # A right-pointing arrow head: rows widen towards the middle.
    mid = round(centre)
    for dy in range(-3, 4):
        for dx in range(0, 4 - abs(dy)):
            pixels[mid + dy][mid - 1 + dx] = 2
    return bmp_8bit(BUTTON_SIZE, BUTTON_SIZE, palette, pixels)


# ---------------------------------------------------------------- cursor

# '#' black, '.' white, ' ' transparent; the hot spot is the fingertip.
HAND = """
      ##
     #..#
     #..#
     #..#
     #..#
     #..###
     #..#..###
     #..#..#..##
     #..#..#..#.#
 ### #..#..#..#..#
 #..##........#..#
 #...#...........#
  #..............#
   #.............#
   #.............#
    #...........#
    #...........#
     #.........#
     #.........#
     ###########
"""
HAND_HOT_SPOT = (7, 1)


def hand_cursor():
    return monochrome_cursor(HAND.strip("\n").split("\n"), HAND_HOT_SPOT)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1].strip())
    out = pathlib.Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    (out / "welcome.bmp").write_bytes(welcome_picture())
    for name, (disc, arrow, offset) in DISCS.items():
        (out / name).write_bytes(button_bitmap(disc, arrow, offset))
    (out / "hand.cur").write_bytes(hand_cursor())


if __name__ == "__main__":
    main()
