// What `DecodeStream` makes of a printer stream: the PJL settings of the job
// header and, per page, every field of the page header, every band record
// with its planes, and the page's planes reassembled as 1-bit bitmaps.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "decode/page_plane.h"

// "@PJL SET NAME = VALUE" or "@PJL DEFAULT NAME = VALUE".
struct PjlVariable {
    std::string command;  // "SET" or "DEFAULT"
    std::string name;
    std::string value;
    size_t offset = 0;  // of the line in the stream
};

struct DecodedPlaneRecord {
    uint8_t planeId = 0;      // 1 cyan, 2 magenta, 3 yellow, 4 black
    uint8_t compression = 0;  // 0x0A raw, 0x11 offset table, 0x12 LZW
    uint32_t dataSize = 0;    // bytes of plane data (the header carries this + 4)
    uint32_t checksum = 0;
    size_t offset = 0;        // of the plane data in the stream
    uint64_t dots = 0;        // in the whole band plane
    bool fullHeader = false;  // first plane of the band (12-byte header)
};

struct DecodedBand {
    size_t offset = 0;       // of the band header
    uint8_t number = 0;      // as sent: the low 8 bits of the index
    uint32_t index = 0;      // unwrapped band index in the page
    uint32_t firstLine = 0;  // index x lines
    uint32_t widthDots = 0;
    uint32_t lines = 0;
    std::vector<DecodedPlaneRecord> planes;
};

struct DecodedPageHeader {
    std::array<uint8_t, 17> raw{};
    uint8_t resolutionCode = 0;  // hundreds of dots per inch: 3, 6 or 12
    uint16_t copies = 0;
    uint8_t paperSize = 0;    // printer paper-size code
    uint16_t width = 0;       // dots
    uint16_t height = 0;      // lines
    uint8_t paperSource = 0;  // printer paper-source code
    uint8_t longEdge = 0;     // duplex bound on the long edge
    uint8_t oddPage = 0;      // duplex: an odd-numbered sheet side
};

struct DecodedPage {
    size_t offset = 0;  // of the page header
    DecodedPageHeader header;
    uint16_t trailerCopies = 0;
    std::vector<DecodedBand> bands;
    // Indexed by plane id - 1. A plane no band carried stays unallocated
    // (all white); with DecodeOptions::keepPlanes off the bits are dropped
    // after the page and only the sizes and dot counts remain.
    std::array<PagePlane, 4> planes;
    uint64_t dotsOutsidePage = 0;  // dots of band planes beyond the page's size

    const PagePlane& Plane(uint8_t planeId) const { return planes[(planeId - 1) & 3]; }
};

struct DecodedJob {
    std::vector<PjlVariable> pjl;
    std::vector<std::string> otherPjlLines;  // @PJL commands other than SET/DEFAULT
    std::string language;                    // of "@PJL ENTER LANGUAGE"
    std::vector<DecodedPage> pages;

    // The value of the last SET (or DEFAULT) line for `name`, or null.
    const std::string* Set(std::string_view name) const;
    const std::string* Default(std::string_view name) const;
};

struct DecodeOptions {
    bool keepPlanes = true;                           // keep every page's bitmaps
    uint64_t maxBandPlaneBytes = uint64_t{4} << 20;   // real bands: 1240 x 128 bytes at most
    uint64_t maxPagePlaneBytes = uint64_t{64} << 20;  // one plane of one page
    uint64_t maxKeptPlaneBytes = uint64_t{1} << 30;   // all kept planes of the job
};
