#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz harnesses (fuzz/*_fuzz.cpp) into the
folders beside this script, one folder per harness:

  stream_decoder/          whole printer streams that the library printed
                           from small scenes, and the two hand-made streams
                           of tests/data/streams
  plane_decoder/           every band plane of those streams (raw, offset
                           table and LZW), with the harness's shape bytes
  compression_round_trip/  planes a printer sees: blank, black, rules, text
                           rows, a halftone, dots, noise
  playback/                the display lists of small scenes, grey and
                           colour (boxes, text, brushes, images of every
                           depth), cut into two chunks; playback.dict
                           beside the harness names the records' shapes
  recorded_file/           recorded data files (overlays, watermarks,
                           spooled pages): those display lists as records
                           after a scale command, and hand-made corners
                           (empty, a record of length 0, cut short, a
                           length past the end)

The streams and display lists come from the zebl tool of a native build,
which composes the scenes and prints them through the rendering library:

  cmake --preset native && cmake --build --preset native --target zebl Tzqr4um Tzqr4CM
  python3 tests/data/fuzz/make_seeds.py build/native/tools/zebl

Every seed is small; CTest replays each folder in every build, and
scripts/fuzz-smoke.sh starts the fuzzers from them. A crash reproducer found
by a fuzzer goes into the harness's folder by hand (named crash_<what>), so
that it is replayed from then on; this script removes only the files it
writes itself.
"""
import os
import random
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
STREAMS = os.path.join(HERE, '..', 'streams')

# ---- Scenes ------------------------------------------------------------------

# Small pages (the printable size is the smallest the library takes), so
# that each stream stays a few kilobytes.
PRINTED_SCENES = {
    'grey_300_text_boxes': '''
paper a4
resolution 300
printable 256 256
page
text 8 8 2 "ZEBL 300"
box 8 40 200 4
span 20 60 180 10
hatch cross
box 16 90 100 60
grey 128
box 140 90 80 60
''',
    'colour_600_brushes': '''
paper a4
resolution 600
colour on
printable 256 256
page
colour 255 0 0
box 10 10 100 40
colour 0 160 255
box 60 30 120 60
define-brush 3 pattern checker 255 255 0 0 0 255
brush 3
box 20 120 200 60
colour 0 0 0
text 20 200 2 "RGB"
''',
    'mono_1200_lines': '''
paper a4
resolution 1200
printable 256 256
page
line 0 0 255 255
line 255 0 0 255
box 100 100 56 56
text 4 4 3 "1200"
''',
    'mono_600x1200_two_pages': '''
paper a4
resolution 600
output-resolution 1200
printable 256 256
page
text 10 10 3 "PAGE 1"
vspan 50 60 40 100
page
hatch diagonal-cross
box 0 0 256 128
''',
    'grey_300_turned_copies': '''
paper a4
resolution 300
rotate180 on
copies 2
collate on
printable 256 256
page
glyph 40 40 16 4 FFFF0000 F00F0000 F00F0000 FFFF0000
box 40 60 16 16
''',
}

# Display lists for the playback harness: its band is 64 pixels wide and two
# times 16 rows from row 0, 16, 32 or 48, so everything is drawn there.
PLAYBACK_SCENES = {
    'grey_boxes_spans': (False, '''
resolution 300
printable 256 256
page
box 2 2 20 10
box16 30 4 30 20
span 4 20 60 8
span-step 1 -1 4
vspan 40 0 30 6
'''),
    'grey_text_hatch_brush': (False, '''
resolution 300
printable 256 256
page
text 0 0 1 "ZEBL"
hatch vertical
box 0 12 64 8
define-brush 5 pattern checker
brush 5
box 10 22 40 10
grey 64
rop 0x5A
box 0 40 64 24
'''),
    'grey_bitmap_glyph_origin': (False, '''
resolution 300
printable 256 256
page
define-bitmap 7 16 4 F0F00000 0F0F0000 F0F00000 0F0F0000
draw-bitmap 7 4 4
glyph 20 6 8 3 offset 3 A5000000 5A000000 FF000000
origin 8 8
box 0 0 10 10
skip1 1
skip4 1
'''),
    'colour_boxes_lines': (True, '''
resolution 600
colour on
printable 256 256
page
colour 255 0 0
box 0 0 32 16
colour 0 255 0
box 16 8 32 16
colour-code 0x85000002
box 0 24 64 8
line 0 0 63 31
line-to 10 40
'''),
    'grey_line_styles': (False, '''
resolution 300
printable 256 256
page
line 0 0 63 63
line-style 1
line 0 5 63 5
line-style 3
style-phase 20
line 2 60 60 2
line-style 5
line 0 30 0 30
line-style 2
line-to 40 40
line-to 10 63
line-rel -8 -100
rop 0x5A
line-style 4
line 63 0 0 40
'''),
    'colour_line_polyline': (True, '''
resolution 600
colour on
printable 256 256
page
colour 0 128 255
line 5 5 5 60
line-style 6
line 0 10 63 12
colour 255 255 255
rop 0x0F
line 0 20 63 44
rop auto
colour 200 0 0
line-style 1
style-phase 50
line 1 1 1 1
line-to 60 3
line-to 30 62
line-to 2 2
'''),
    'colour_paths_watermark': (True, '''
resolution 600
colour on
printable 256 256
page
colour 0 0 255
path fill winding 2,2 60,4 30,30
watermark begin
grey 200
box 0 0 64 64
watermark end
define-brush 9 raw checker
brush 9
box 4 34 50 20
'''),
    'grey_paths_both_rules': (False, '''
resolution 300
printable 256 256
page
path fill winding 2,2 30,2 30,30 2,30 / 8,8 24,8 24,24 8,24
path fill alternate 34,2 62,2 62,30 34,30 / 40,8 56,8 56,24 40,24
grey 96
path fill alternate 32,34 46,63 8,45 56,45 18,63
path set winding wide 0,40 63,33 60,63 -4000,63
paint-path
'''),
    'colour_clip_path_text': (True, '''
resolution 600
colour on
printable 256 256
page
path set 0,0 63,0 0,63
clip-mode 3
colour 200 0 40
text 0 0 2 "CLIP"
draw-bitmap 7 4 20
define-bitmap 7 16 4 F0F00000 0F0F0000 F0F00000 0F0F0000
draw-bitmap 7 4 24
clip-mode 0
text 0 40 1 "OUT"
set-scale 100 50
path fill 10,10 120,20 60,120
'''),
    'grey_images': (False, '''
resolution 300
printable 256 256
page
image ramp.pgm 2 2 width 20 height 10 bits 1
image ramp.pgm 24 2 width 12 height 14 bits 4 stretch mirror
image ramp.pgm 40 2 bits 8 rotate
image photo.ppm 2 18 width 30 height 20 bits 24 stretch
rop 0xB8
hatch cross
image photo.ppm 34 20 width 24 height 28 bits 8 mirror rotate
'''),
    'colour_images_clipped': (True, '''
resolution 600
colour on
printable 256 256
page
image photo.ppm 0 0 width 64 height 12 stretch
image ramp.pgm 4 14 width 16 height 16 bits 1 mirror
image photo.ppm 24 14 width 20 height 18 bits 4 rotate
define-brush 0 pattern checker 255 0 0 0 0 255
brush 0
rop 0xE2
image photo.ppm 46 14 width 18 height 18 bits 8 stretch
rop auto
path set 0,34 63,34 32,63
clip-mode 3
image photo.ppm 0 34 width 64 height 30 stretch
clip-mode 0
'''),
}

# Image files the playback scenes draw: a grey ramp and a colour picture,
# each 8 x 6 pixels (PNM, written beside the scenes).
IMAGE_FILES = {
    'ramp.pgm': b'P5 8 6 255\n' + bytes((x * 32 + y * 5) & 0xFF for y in range(6) for x in range(8)),
    'photo.ppm': b'P6 8 6 255\n' + bytes(v for y in range(6) for x in range(8)
                                          for v in (x * 36, y * 50, (x * y * 9) & 0xFF)),
}


def write_image_files(work):
    for name, data in IMAGE_FILES.items():
        with open(os.path.join(work, name), 'wb') as f:
            f.write(data)


def run(*command):
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)


def compose(zebl, name, scene, work):
    scene_path = os.path.join(work, name + '.scene')
    spool_path = os.path.join(work, name + '.spl')
    with open(scene_path, 'w') as f:
        f.write(scene)
    run(zebl, 'compose', scene_path, '-o', spool_path)
    return spool_path


def print_spool(zebl, spool_path):
    stream_path = spool_path[:-4] + '.prn'
    run(zebl, 'print', spool_path, '-o', stream_path)
    with open(stream_path, 'rb') as f:
        return f.read()


# ---- Spool files and streams -------------------------------------------------

def first_page_display_list(spool):
    """The display-list bytes of the first page of a spool file (the tags of
    the buffers taken off)."""
    assert spool[:4] == b'ZSPL'
    at, pages, dl = 8, 0, b''
    while at < len(spool):
        call, length = spool[at], struct.unpack_from('<I', spool, at + 1)[0]
        data = spool[at + 5:at + 5 + length]
        at += 5 + length
        if call == 3:          # StartPage
            pages += 1
        elif call == 4 and pages == 1:  # EndPage of the first page
            break
        elif call == 2 and pages == 1 and length != 1676:
            dl += data[4:]
    return dl


def band_planes(stream):
    """(width in bytes, lines, compression, data) of every plane record of a
    stream, found by the record layout and proved by the checksum."""
    planes, width, lines = [], None, None
    for at in range(len(stream) - 10):
        if stream[at] == 0x0C and at + 6 <= len(stream):
            width = struct.unpack_from('>H', stream, at + 2)[0] // 8
            lines = struct.unpack_from('>H', stream, at + 4)[0]
        plane, code = stream[at], stream[at + 1]
        if width is None or plane not in (1, 2, 3, 4) or code not in (0x0A, 0x11, 0x12):
            continue
        size = struct.unpack_from('>I', stream, at + 2)[0] - 4
        end = at + 6 + size
        if size <= 0 or end + 4 > len(stream):
            continue
        data = stream[at + 6:end]
        if struct.unpack_from('>I', stream, end)[0] == sum(data):
            planes.append((width, lines, code, data))
    return planes


# ---- Planes a printer sees -----------------------------------------------------

def synthetic_planes():
    rng = random.Random(7)
    planes = {}
    planes['blank'] = (16, 64, b'\xff' * 16 * 64)
    planes['black'] = (16, 64, b'\x00' * 16 * 64)
    planes['rules'] = (32, 64, b''.join((b'\x00' if row % 8 == 0 else b'\xff') * 32 for row in range(64)))
    planes['columns'] = (8, 128, bytes([0x0F, 0xFF] * 4) * 128)
    glyph = [0x81, 0xBD, 0xA5, 0xA5, 0xBD, 0x81, 0xFF, 0xFF]
    planes['text_rows'] = (24, 32, bytes(glyph[row % 8] if col % 3 else 0xFF for row in range(32) for col in range(24)))
    planes['halftone'] = (16, 64, bytes((0x55 if row % 2 else 0xAA) for row in range(64) for _ in range(16)))
    planes['sparse_dots'] = (64, 16, bytes(0x7F if rng.random() < 0.02 else 0xFF for _ in range(64 * 16)))
    planes['noise'] = (16, 16, bytes(rng.getrandbits(8) for _ in range(16 * 16)))
    planes['one_line'] = (1, 1, b'\x00')
    return planes


# ---- Writing the corpora ------------------------------------------------------

def write_corpus(folder, seeds):
    path = os.path.join(HERE, folder)
    os.makedirs(path, exist_ok=True)
    for name in os.listdir(path):
        if name.startswith('seed_'):
            os.remove(os.path.join(path, name))
    for name, data in seeds.items():
        with open(os.path.join(path, 'seed_' + name), 'wb') as f:
            f.write(data)
    print(f'{folder}: {len(seeds)} seeds, {sum(map(len, seeds.values()))} bytes')


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: make_seeds.py PATH/TO/zebl')
    zebl = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as work:
        write_image_files(work)
        streams = {name: print_spool(zebl, compose(zebl, name, scene, work))
                   for name, scene in PRINTED_SCENES.items()}
        lists = {}
        for name, (colour, scene) in PLAYBACK_SCENES.items():
            with open(compose(zebl, name, scene, work), 'rb') as f:
                lists[name] = (colour, first_page_display_list(f.read()))

    for name in ('mono_job', 'bad_checksum'):
        with open(os.path.join(STREAMS, name + '.prn'), 'rb') as f:
            streams[name] = f.read()

    # Stream decoder: an even first byte takes the stream as it is; an odd
    # one puts the job header in front, here of a stream cut after its header.
    seeds = {name: b'\x00' + stream for name, stream in streams.items()}
    header_end = streams['grey_300_text_boxes'].index(b'ZEBL\r\n') + 6
    seeds['grey_300_without_header'] = b'\x01' + streams['grey_300_text_boxes'][header_end:]
    write_corpus('stream_decoder', seeds)

    # Plane decoder: code index (raw, offset table, LZW), width - 1 (LE16),
    # lines - 1.
    code_index = {0x0A: 0, 0x11: 1, 0x12: 2}
    seeds, seen = {}, set()
    for name, stream in streams.items():
        for i, (width, lines, code, data) in enumerate(band_planes(stream)):
            if not 1 <= width <= 2048 or not 1 <= lines <= 256 or (code, data) in seen:
                continue
            seen.add((code, data))
            seeds[f'{name}_{i}'] = bytes([code_index[code]]) + struct.pack('<H', width - 1) + bytes([lines - 1]) + data
    write_corpus('plane_decoder', seeds)

    # Compression round trip: width - 1, lines - 1, band index, resolution
    # bit (odd: 1200 dpi), then the plane.
    seeds = {}
    for i, (name, (width, lines, plane)) in enumerate(synthetic_planes().items()):
        seeds[name] = bytes([width - 1, lines - 1, i % 8, i % 2]) + plane
    write_corpus('compression_round_trip', seeds)

    # Playback: device byte (bit 0 colour, the band's top in bits 1-2, grey
    # bands drawn in bits with bit 3, their one-bit rows narrower than the
    # band with bit 4) and the place of the cut between the two chunks; two
    # cuts per list, and each grey one also in bits, at both widths.
    seeds = {}
    for name, (colour, dl) in lists.items():
        seeds[name] = bytes([int(colour), 255]) + dl
        seeds[name + '_cut'] = bytes([int(colour) | 2, 100]) + dl
    for name in [n for n, (colour, _) in lists.items() if not colour]:
        for variant in (name, name + '_cut'):
            seed = seeds[variant]
            seeds[variant + '_bits'] = bytes([seed[0] | 8]) + seed[1:]
            seeds[variant + '_narrow_bits'] = bytes([seed[0] | 24]) + seed[1:]
    write_corpus('playback', seeds)

    write_corpus('recorded_file', recorded_file_seeds(lists))


def record(data, tag=0):
    return struct.pack('<II', len(data), tag) + data


def recorded_file_seeds(lists):
    """Recorded data files: records of length (LE32), tag (LE32) and bytes.
    A recording document starts every page with a scale command (0x82
    divisor 100, scale; 0x83 orientation)."""
    scale = bytes([0x82]) + struct.pack('<II', 100, 100) + bytes([0x83]) + struct.pack('<I', 0)
    seeds = {}
    for name, (colour, dl) in lists.items():
        if not name.endswith('_cut'):
            seeds[name] = record(scale) + record(dl[:2000])
    seeds['empty'] = b''
    seeds['zero_length_record'] = record(b'', 7)
    seeds['two_pages'] = (record(scale) + record(bytes([0x53, 10, 10]), 3)) * 2
    seeds['cut_header'] = record(scale)[:6]
    seeds['cut_data'] = record(bytes(range(40)))[:30]
    seeds['length_past_end'] = struct.pack('<II', 0x7FFFFFFF, 0) + bytes(16)
    return seeds


if __name__ == '__main__':
    main()
