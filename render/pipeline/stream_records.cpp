#include "pipeline/stream_records.h"

#include <bit>
#include <cstring>

namespace {

// Stores numbers in the stream's byte order whatever the host's.
void PutBE16(uint8_t* p, uint16_t value) {
    const uint16_t wire = std::endian::native == std::endian::little ? SwapInt(value) : value;
    std::memcpy(p, &wire, 2);
}

void PutBE32(uint8_t* p, uint32_t value) {
    const uint32_t wire = std::endian::native == std::endian::little ? SwapLong(value) : value;
    std::memcpy(p, &wire, 4);
}

bool Fits16(uint32_t value) { return value <= 0xFFFF; }

// Windows paper code -> printer paper code; the rest is 2.
struct CodePair {
    uint32_t windows;
    uint8_t printer;
};
constexpr CodePair kPaperSizeCodes[] = {
    {1, 0},  {4, 4},  {5, 1},   {7, 3},   {8, 5},  {11, 16}, {12, 10}, {13, 11}, {14, 24},  {20, 6},
    {27, 9}, {28, 8}, {31, 23}, {34, 12}, {37, 7}, {43, 14}, {70, 17}, {88, 18}, {256, 21},
};
constexpr uint8_t kDefaultPaperSizeCode = 2;

constexpr CodePair kPaperSourceCodes[] = {{1, 4}, {2, 5}, {4, 2}, {6, 3}};
constexpr uint8_t kDefaultPaperSourceCode = 1;

template <size_t N>
uint8_t LookUp(const CodePair (&table)[N], uint32_t code, uint8_t otherwise) {
    for (const CodePair& pair : table) {
        if (pair.windows == code) return pair.printer;
    }
    return otherwise;
}

}  // namespace

uint32_t SwapLong(uint32_t value) {
    return (value >> 24) | ((value >> 8) & 0xFF00) | ((value << 8) & 0xFF0000) | (value << 24);
}

uint16_t SwapInt(uint16_t value) { return static_cast<uint16_t>((value >> 8) | (value << 8)); }

uint8_t PrinterPaperSizeCode(uint32_t windowsPaperCode) {
    return LookUp(kPaperSizeCodes, windowsPaperCode, kDefaultPaperSizeCode);
}

uint8_t PrinterPaperSourceCode(uint32_t windowsBinCode) {
    return LookUp(kPaperSourceCodes, windowsBinCode, kDefaultPaperSourceCode);
}

bool Is600x1200Mode(const FBPage& page) { return page.resolution == 600 && page.outputResolution == 1200; }

std::optional<std::array<uint8_t, kPageHeaderSize>> BuildPageHeader(const FBPage& page,
                                                                    const FBSettings& settings,
                                                                    uint32_t pageCounter) {
    const bool doubled = Is600x1200Mode(page);
    const uint32_t factor = doubled ? 2 : 1;
    const uint64_t width = uint64_t{page.printableWidth} * factor;
    const uint64_t height = uint64_t{page.printableHeight} * factor;
    if (width > 0xFFFF || height > 0xFFFF || !Fits16(page.copies)) return std::nullopt;

    std::array<uint8_t, kPageHeaderSize> h{};
    h[0] = kRecordPageHeader;
    h[1] = static_cast<uint8_t>(doubled ? 12 : page.resolution / 100);
    PutBE16(&h[2], static_cast<uint16_t>(page.copies));
    h[4] = PrinterPaperSizeCode(page.paperCode);
    PutBE16(&h[5], static_cast<uint16_t>(width));
    PutBE16(&h[7], static_cast<uint16_t>(height));
    h[9] = PrinterPaperSourceCode(page.paperSource);
    h[10] = 0;
    h[11] = (settings.duplexType == kDuplexLongEdge || settings.duplexType == kDuplexReverseLongEdge) ? 1 : 0;
    // Tells a duplexing printer which side this page goes on.
    h[12] = FBDuplexIsOn(settings.duplexType) ? static_cast<uint8_t>(pageCounter & 1) : 0;
    h[13] = 0;
    h[14] = 1;
    h[15] = 0;
    h[16] = 0;
    return h;
}

std::optional<std::array<uint8_t, kPageTrailerSize>> BuildPageTrailer(const FBPage& page) {
    if (!Fits16(page.copies)) return std::nullopt;
    std::array<uint8_t, kPageTrailerSize> t{};
    t[0] = kRecordPageTrailer;
    PutBE16(&t[1], static_cast<uint16_t>(page.copies));
    return t;
}

std::optional<std::array<uint8_t, kBandHeaderSize>> BuildBandHeader(uint32_t bandNumber, uint8_t compression,
                                                                    uint32_t widthDots, uint32_t lines,
                                                                    uint32_t dataLength, uint8_t planeId) {
    if (!Fits16(widthDots) || !Fits16(lines) || dataLength > 0xFFFFFFFFu - 4) {
        return std::nullopt;
    }
    std::array<uint8_t, kBandHeaderSize> h{};
    h[0] = kRecordBandHeader;
    h[1] = static_cast<uint8_t>(bandNumber);  // the low 8 bits: numbers wrap on tall pages
    PutBE16(&h[2], static_cast<uint16_t>(widthDots));
    PutBE16(&h[4], static_cast<uint16_t>(lines));
    h[6] = planeId;
    h[7] = compression;
    PutBE32(&h[8], dataLength + 4);
    return h;
}

std::optional<std::array<uint8_t, kPlaneHeaderSize>> BuildPlaneHeader(uint8_t compression,
                                                                      uint32_t dataLength, uint8_t planeId) {
    if (dataLength > 0xFFFFFFFFu - 4) return std::nullopt;
    std::array<uint8_t, kPlaneHeaderSize> h{};
    h[0] = planeId;
    h[1] = compression;
    PutBE32(&h[2], dataLength + 4);
    return h;
}

uint32_t BandChecksum(const uint8_t* data, uint32_t length) {
    uint32_t sum = 0;
    for (uint32_t i = 0; i < length; ++i) sum += data[i];
    return sum;
}

std::array<uint8_t, kBandChecksumSize> BuildBandChecksum(const uint8_t* data, uint32_t length) {
    std::array<uint8_t, kBandChecksumSize> c{};
    PutBE32(c.data(), BandChecksum(data, length));
    return c;
}
