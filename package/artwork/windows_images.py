"""The Windows image files that the artwork scripts write, shared by them."""

import struct


def monochrome_cursor(rows, hot_spot, size=32):
    """A one-image .cur file, `size` x `size`, black and white. In `rows`
    (top first) a blank is transparent, '.' is white and any other mark is
    black; `hot_spot` is (x, y) from the top left."""
    xor_bits = bytearray(size * size // 8)
    and_bits = bytearray(b"\xff" * (size * size // 8))
    for y, row in enumerate(rows):
        for x, mark in enumerate(row):
            if mark == " ":
                continue
            # Rows are stored bottom-up, most significant bit first.
            index = (size - 1 - y) * (size // 8) + x // 8
            bit = 0x80 >> (x % 8)
            and_bits[index] &= ~bit & 0xFF
            if mark == ".":
                xor_bits[index] |= bit
    image = (struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 1, 0, len(xor_bits) + len(and_bits),
                         0, 0, 2, 0)
             + struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0) + bytes(xor_bits) + bytes(and_bits))
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 2, 0, *hot_spot, len(image), 6 + 16)
    return header + entry + image
