// A spooled document made from arbitrary bytes, played through the spooler
// entry points (DrvSplStartDoc ... DrvSplClose) as the print spooler would
// play it, and the printer stream it produced, checked by the stream decoder.
//
// The bytes are read as a short script. Missing bytes read as zero, so every
// byte string is a script and a longer one only adds to it.
//
// Header:
//   mode     bits 0-2 resolution: 0-3 300 dpi, 4 600, 5 1200, 6 600 x 1200,
//                     7 300 rendered for a 1200 output;
//            bit 3 colour, bit 4 turned by 180 degrees, bit 5 poster,
//            bit 6 landscape, bit 7 collated
//   paper    bits 0-3 printable size 256 + 64 * (b & 3) x 256 + 64 * (b >> 2 & 3)
//            dots, bits 4-6 paper code (A4, A6, A5, Letter, custom, 0, B6 and
//            an unknown code), bit 7: no printable size (the paper table's;
//            only for 300 dpi pages that are no poster)
//   scale    bits 0-3 scale (100 for most values, 10 .. 400 and out of range),
//            bit 4 scale without enlarging, bit 5 landscape scale, bit 6
//            duplex, bit 7 an overlay file (see below)
//   copies   bits 0-1 copies 1, 2, 3 or 0; bits 2-4 duplex binding; bits
//            5-7 poster tiles per side (1 to 4, or 6)
//   start    bits 0-1: 0 a start-of-document record, 1 one that asks to be
//            reported as failed, 2 none, 3 one followed by a page's record;
//            bits 2-3 the printer: 0 the spooler's handle on a sound printer,
//            1 one whose writes fail for good after a few blocks, 2 one that
//            refuses two writes as busy, 3 no spooler handle (the library
//            opens the printer the record names); a printer the caller
//            cannot provide is replaced by the sound one
//   fields   count (b & 7), then as many overwritten settings fields (below)
//   overlay  (with scale bit 7) length (LE16) and the bytes of the overlay
//            file, which the settings name
//
// A field: a selector byte; under 0x80 one of the fields the library reads,
// else a 32-bit word of the record numbered ((b & 0x7F) << 8 | next byte) %
// 419. Then the value: a byte under 0xE0 is itself, 0xE0 .. 0xFE one of
// the awkward values (0, -1, 0x7FFFFFFF, 0x8000, 1200 ...), 0xFF a raw
// LE32 that follows.
//
// Then calls, one byte each (b % 10) with their operands:
//   0 a raw buffer: length (LE16) and that many bytes, tag included
//   1 a display list made of valid records: record count, then per record a
//     kind byte and its operands; then up to three byte flips (position
//     LE16, xor byte) and the piece size (LE16) it is cut into
//   2 StartPage and a page's settings record with up to three fields
//     overwritten (count, then fields)
//   3 StartPage alone
//   4 EndPage (at most four in a script; further ones are not made)
//   5 a settings record with other command flags (flags selector byte), or
//     with selector bits 3-5 set, 1676 bytes of the script as they are
//   6 Abort
//   7 a buffer shorter than its tag, or none
//   8 EndDoc in the middle of the script (the calls after it must do nothing)
//   9 two EndPages in a row
// The script always ends with EndDoc and Close.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "decode/decoded_job.h"
#include "sys/text.h"

// Where a script prints: a spooler printer and the files it uses, and
// optionally printers that fail.
struct SpoolScriptPrinter {
    sys::WString printerName;
    sys::WString outputFile;   // the document's output file, replaced by each run
    sys::WString overlayFile;  // written when a script brings an overlay
    // Optional (empty: not available, the sound printer is used instead):
    sys::WString failingPrinterName;   // refuses every write past a few blocks
    sys::WString retryingPrinterName;  // refuses two writes past the job header as busy
    sys::WString ownOutputFile;        // where printerName puts documents that name no file
};

struct SpoolScriptRun {
    bool printerReady = false;   // the printer opened and the document started
    bool outputComplete = true;  // false when the printer was made to refuse data
    uint32_t endPages = 0;       // EndPage calls the script made
    std::vector<uint8_t> output;
    bool decoded = false;  // the output is empty or a well-formed stream
    DecodedJob job;        // the decoded stream (dot counts, no bitmaps)
    std::string error;     // why not, when not

    // What the library must always achieve: a well-formed stream, unless the
    // printer refused part of it.
    bool StreamAsRequired() const { return decoded || !outputComplete; }
};

// Plays the script on the printer and decodes what the printer received.
SpoolScriptRun PlaySpoolScript(const uint8_t* data, size_t size, const SpoolScriptPrinter& printer);
