#!/usr/bin/env python3
"""Writes the seed scripts of this folder: ordinary jobs in the script
language of fuzz/spooler_script.h, which the spooler fuzzer starts from and
malformed_input_tests replays with the rest of the folder. Run it here:
    python3 make_seeds.py
"""
import struct

# Calls.
RAW, LIST, PAGE, START_PAGE, END_PAGE, OTHER_RECORD, ABORT, TINY, END_DOC, TWO_END_PAGES = range(10)


def u16(v):
    return struct.pack('<H', v)


def u32(v):
    return struct.pack('<I', v)


def header(mode=0, paper=0x05, scale=0, copies=0, start=0, fields=b'', field_count=0, overlay=None):
    out = bytes([mode, paper, scale | (0x80 if overlay is not None else 0), copies, start, field_count]) + fields
    if overlay is not None:
        out += u16(len(overlay)) + overlay
    return out


# Display-list records as the script builds them (record kind, operands).
def rop_black():
    return bytes([22])


def solid(rop, r, g, b):
    return bytes([0, rop, 0, r, g, b])


def set_row(quarter):
    return bytes([1, quarter])


def set_col(quarter):
    return bytes([2, quarter])


def set_span_end(quarter):
    return bytes([3, quarter])


def box16(rows_quarter, width_quarter):
    return bytes([6, rows_quarter, width_quarter])


def spans(count):
    return bytes([7, count - 1])


def glyph(bit_offset, rows, width):
    stride = ((bit_offset + width + 31) // 32) * 4
    data = bytes((0xA5 if (i // stride) % 2 else 0x5A) for i in range(rows * stride))
    return bytes([11, bit_offset, rows - 1, width - 1]) + data


def brush_pattern(slot, colour0, colour1):
    pattern = bytes((0xF0 if (i // 4) % 2 else 0x0F) for i in range(128))
    return bytes([13, 0, slot]) + u32(colour0) + u32(colour1) + pattern


def use_brush(slot):
    return bytes([14, 6, slot, 0])


def define_bitmap(slot, rows, width):
    stride = ((width + 31) // 32) * 4
    return bytes([12, slot, 0, rows, width]) + bytes([0xC3] * (rows * stride))


def draw_bitmap(slot):
    return bytes([12, slot, 1])


def scale(den_index, num_index):
    return bytes([16, den_index | num_index << 3])


def display_list(records, piece=0x1000, flips=()):
    out = bytes([LIST, len(records)]) + b''.join(records) + bytes([len(flips)]) + u16(piece)
    for at, mask in flips:
        out += u16(at) + bytes([mask])
    return out


def page(records, overwrites=b'', count=0):
    return bytes([PAGE, count]) + overwrites + display_list(records) + bytes([END_PAGE])


BOXES = [rop_black(), set_row(10), set_col(10), box16(8, 20), set_row(40), set_col(5), box16(2, 40)]
TEXT = [rop_black(), set_row(20), set_col(12), glyph(3, 24, 40), set_row(30), set_col(40), glyph(0, 8, 70)]
COLOUR = [solid(0xF0, 200, 30, 40), set_row(5), set_col(5), box16(20, 20),
          brush_pattern(3, 0x00FF00, 0x0000FF), use_brush(3), set_row(30), set_col(30), box16(10, 30),
          solid(0xF0, 0, 0, 0), set_row(50), set_col(10), set_span_end(60), spans(8)]
BITMAPS = [define_bitmap(2, 16, 40), rop_black(), set_row(8), set_col(8), draw_bitmap(2),
           set_row(60), set_col(20), draw_bitmap(2), scale(1, 2), set_row(4), set_col(4), box16(4, 4)]


def write(name, data):
    with open(name, 'wb') as f:
        f.write(data)


def main():
    write('seed_grey_boxes', header() + page(BOXES))
    write('seed_grey_text_two_pages', header(paper=0x0F) + page(TEXT) + page(BOXES))
    write('seed_colour_brush', header(mode=0x08) + page(COLOUR))
    write('seed_turned_180', header(mode=0x10) + page(TEXT + BOXES))
    # Two tiles per side, each a window of the page drawn at twice its size.
    write('seed_poster_2x2', header(mode=0x20, scale=12, copies=0x20) + page(BOXES))
    write('seed_enlarged_200', header(scale=12) + page(BOXES + TEXT))
    write('seed_reduced_landscape', header(mode=0x40, scale=0x20 | 8) + page(BOXES))
    write('seed_600x1200', header(mode=6, paper=0x00) + page(BOXES))
    # Six tiles per side in the 600 x 1200 mode: every sheet doubled (once the slowest input of the fuzzer).
    write('seed_poster_600x1200', header(mode=0x20 | 6, scale=12, copies=0xE0) + page(BOXES))
    write('seed_1200_colour', header(mode=5 | 0x08, paper=0x00) + page(COLOUR))
    write('seed_collated_duplex', header(mode=0x80, scale=0x40, copies=1 | 1 << 2) +
          page(BOXES) + page(TEXT) + page(BITMAPS))
    write('seed_bitmaps_scaled', header() + page(BITMAPS))
    # An overlay file of one record (length, tag, bytes) under the page.
    overlay_list = bytes([0x75, 0xF0]) + u32(0x81000000) + bytes([0x60]) + u16(100) + \
        bytes([0x62]) + u16(100) + bytes([0x54]) + u16(30) + u16(30)
    write('seed_overlay', header(overlay=u32(len(overlay_list)) + u32(0) + overlay_list) + page(BOXES))
    # A settings change between pages: colour, then a 600 dpi grey page.
    write('seed_settings_change', header(mode=0x08) + page(COLOUR) +
          page(BOXES, overwrites=bytes([9, 0]) + bytes([3, 0xF0]), count=2))
    # The printers that refuse data (start byte bits 2-3): for good, busy
    # twice, and none given by the spooler (the library opens the printer).
    write('seed_failing_printer', header(start=1 << 2) + page(TEXT) + page(BOXES))
    write('seed_busy_printer', header(start=2 << 2) + page(BOXES))
    write('seed_own_printer_handle', header(start=3 << 2) + page(BOXES))
    # A start-of-page record of the script's own 1676 bytes: colour, 600 dpi,
    # 400 x 300 dots, after a grey 300 dpi page.
    record = bytearray(1676)
    for offset, value in ((88, 9), (104, 1), (124, 600), (176, 0x8000), (180, 600), (188, 1),
                          (204, 400), (208, 300), (796, 100)):
        record[offset:offset + 4] = u32(value)
    write('seed_raw_settings_record', header() + page(BOXES) + bytes([START_PAGE, OTHER_RECORD, 0x38]) +
          bytes(record) + display_list(COLOUR) + bytes([END_PAGE]))
    # Raw buffers, an abort and the end of the document in the middle.
    raw = u32(0) + bytes([0x75, 0xF0]) + u32(0x81000000) + bytes([0x53, 10, 10, 0x55, 0x55])
    write('seed_raw_abort', header() + bytes([PAGE, 0, RAW]) + u16(len(raw)) + raw +
          bytes([ABORT, END_PAGE, END_DOC, END_PAGE]))

    # Job finishing (fields: 27 the document options, 29 pages per sheet,
    # 30 the N-up border, 36 the page order): 4-up with borders, page at a
    # time; a booklet in reverse order, held in a spool directory; 2-up
    # turned off by the second page's record.
    write('seed_nup_4_border', header(fields=bytes([27, 0x02, 29, 4, 30, 1]), field_count=3) +
          page(BOXES) + page(TEXT) + page(BITMAPS))
    write('seed_booklet_reverse', header(fields=bytes([27, 0xFF]) + u32(0x208) + bytes([36, 1]), field_count=2) +
          page(BOXES) + page(TEXT) + page(BOXES))
    write('seed_nup_turned_off', header(fields=bytes([27, 0x02, 29, 2]), field_count=2) + page(BOXES) +
          page(TEXT, overwrites=bytes([27, 0]), count=1))


if __name__ == '__main__':
    main()
