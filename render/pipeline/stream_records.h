// The binary structures of the printer stream after the PJL header: page
// headers, band records, page trailers and the job trailer, as bytes. Numbers
// inside them are big-endian.
//
//   page header (17)  00 res copies:2 paper width:2 height:2 source 00 longedge odd 00 01 00 00
//   band header (12)  0C band width:2 lines:2 plane code length+4:4
//   plane header (6)  plane code length+4:4
//   band data         <length bytes> checksum:4 (sum of the data bytes)
//   band end          00
//   page trailer (3)  01 copies:2
//   job trailer       09 ESC %-12345X
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "formats/plane_ids.h"
#include "pipeline/fb_records.h"

constexpr uint32_t kPageHeaderSize = 17;
constexpr uint32_t kPageTrailerSize = 3;
constexpr uint32_t kBandHeaderSize = 12;
constexpr uint32_t kPlaneHeaderSize = 6;
constexpr uint32_t kBandChecksumSize = 4;

// The first byte of each structure.
enum StreamRecordByte : uint8_t {
    kRecordPageHeader = 0x00,
    kRecordPageTrailer = 0x01,
    kRecordJobTrailer = 0x09,
    kRecordBandHeader = 0x0C,
    kRecordBandEnd = 0x00,
};

// Plane ids: formats/plane_ids.h.

// Byte-order reversal of a 32-bit and a 16-bit number.
uint32_t SwapLong(uint32_t value);
uint16_t SwapInt(uint16_t value);

// The printer's codes for a Windows paper code and bin code.
uint8_t PrinterPaperSizeCode(uint32_t windowsPaperCode);
uint8_t PrinterPaperSourceCode(uint32_t windowsBinCode);

// Rendered at 600 and printed at 1200 dots per inch.
bool Is600x1200Mode(const FBPage& page);

// `pageCounter` is the output writer's page counter (odd = an odd page has
// just started). Empty when the page size or copy count does not fit the
// header's 16-bit fields.
std::optional<std::array<uint8_t, kPageHeaderSize>> BuildPageHeader(const FBPage& page,
                                                                    const FBSettings& settings,
                                                                    uint32_t pageCounter);
std::optional<std::array<uint8_t, kPageTrailerSize>> BuildPageTrailer(const FBPage& page);
// `dataLength` is the plane data size; the header carries it plus 4. Empty
// when a value does not fit its field.
std::optional<std::array<uint8_t, kBandHeaderSize>> BuildBandHeader(uint32_t bandNumber, uint8_t compression,
                                                                    uint32_t widthDots, uint32_t lines,
                                                                    uint32_t dataLength, uint8_t planeId);
std::optional<std::array<uint8_t, kPlaneHeaderSize>> BuildPlaneHeader(uint8_t compression,
                                                                      uint32_t dataLength, uint8_t planeId);
// The unsigned 32-bit sum of the bytes, and the four bytes that carry it.
uint32_t BandChecksum(const uint8_t* data, uint32_t length);
std::array<uint8_t, kBandChecksumSize> BuildBandChecksum(const uint8_t* data, uint32_t length);
