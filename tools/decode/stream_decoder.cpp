#include "decode/stream_decoder.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "decode/byte_cursor.h"
#include "decode/pjl_reader.h"
#include "decode/plane_decoder.h"

namespace {

constexpr std::string_view kUniversalExit{"\x1B%-12345X", 9};

// First bytes of the stream's records.
enum : uint8_t {
    kPageHeaderByte = 0x00,
    kPageTrailerByte = 0x01,
    kJobTrailerByte = 0x09,
    kBandHeaderByte = 0x0C,
    kBandEndByte = 0x00,
};

constexpr size_t kPageHeaderSize = 17;
constexpr uint8_t kLastPlaneId = 4;

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

std::string Number(uint64_t value) { return std::to_string(value); }

class StreamDecoder {
public:
    StreamDecoder(const uint8_t* data, size_t size, const DecodeOptions& options, DecodedJob* job,
                  std::string* error)
        : cursor_(data, size), options_(options), job_(job), error_(error) {}

    bool Run();

private:
    bool Fail(size_t offset, const std::string& what);
    std::string Where() const;

    bool ReadPage(size_t offset);
    bool ReadPageHeader(DecodedPage* page);
    bool ReadPageTrailer(DecodedPage* page, size_t offset);
    bool ReadBand(DecodedPage* page, size_t offset);
    bool ReadBandGeometry(DecodedPage* page, DecodedBand* band);
    bool ReadPlane(DecodedPage* page, DecodedBand* band, uint8_t planeId, uint8_t compression,
                   uint32_t lengthField, size_t lengthOffset);
    bool PlacePlane(DecodedPage* page, const DecodedBand& band, DecodedPlaneRecord* record);
    void FinishPage(DecodedPage* page);
    bool ReadJobTrailer(size_t offset);

    ByteCursor cursor_;
    const DecodeOptions& options_;
    DecodedJob* job_;
    std::string* error_;

    // Where the parse stands, for messages.
    size_t pageNumber_ = 0;  // pages started so far
    bool inPage_ = false;
    bool inBand_ = false;
    uint32_t bandIndex_ = 0;
    uint8_t planeId_ = 0;

    std::vector<uint8_t> bandPlane_;  // reused for every decompressed plane
    uint64_t heldPlaneBytes_ = 0;
};

std::string StreamDecoder::Where() const {
    if (!inPage_) return "job";
    std::string where = "page " + Number(pageNumber_);
    if (inBand_) where += ", band " + Number(bandIndex_);
    if (planeId_ != 0) where += ", plane " + Number(planeId_);
    return where;
}

bool StreamDecoder::Fail(size_t offset, const std::string& what) {
    *error_ = "byte offset " + Number(offset) + " (" + Where() + "): " + what;
    return false;
}

bool StreamDecoder::Run() {
    *job_ = DecodedJob{};
    if (!ReadPjlHeader(&cursor_, job_, error_)) return false;
    for (;;) {
        const size_t offset = cursor_.Offset();
        uint8_t record = 0;
        if (!cursor_.ReadU8(&record)) {
            return Fail(offset, "the stream ends without the job trailer");
        }
        if (record == kPageHeaderByte) {
            if (!ReadPage(offset)) return false;
        } else if (record == kJobTrailerByte) {
            return ReadJobTrailer(offset);
        } else {
            return Fail(offset, "unknown record byte " + Hex(record, 2) +
                                    " where a page header (0x00) or the job trailer (0x09) must start");
        }
    }
}

bool StreamDecoder::ReadPage(size_t offset) {
    ++pageNumber_;
    inPage_ = true;
    DecodedPage page;
    page.offset = offset;
    if (!ReadPageHeader(&page)) return false;
    for (;;) {
        const size_t at = cursor_.Offset();
        uint8_t record = 0;
        if (!cursor_.ReadU8(&record)) {
            return Fail(at, "the stream ends inside the page (no page trailer)");
        }
        if (record == kBandHeaderByte) {
            if (!ReadBand(&page, at)) return false;
        } else if (record == kPageTrailerByte) {
            if (!ReadPageTrailer(&page, at)) return false;
            FinishPage(&page);
            job_->pages.push_back(std::move(page));
            inPage_ = false;
            return true;
        } else {
            return Fail(at, "unknown record byte " + Hex(record, 2) +
                                " inside a page (expected a band header 0x0C or the page trailer 0x01)");
        }
    }
}

bool StreamDecoder::ReadPageHeader(DecodedPage* page) {
    DecodedPageHeader& h = page->header;
    const uint8_t* rest = nullptr;
    if (!cursor_.Take(kPageHeaderSize - 1, &rest)) {
        return Fail(page->offset, "the stream ends inside the page header");
    }
    h.raw[0] = kPageHeaderByte;
    std::memcpy(h.raw.data() + 1, rest, kPageHeaderSize - 1);
    const auto& b = h.raw;
    h.resolutionCode = b[1];
    h.copies = static_cast<uint16_t>(b[2] << 8 | b[3]);
    h.paperSize = b[4];
    h.width = static_cast<uint16_t>(b[5] << 8 | b[6]);
    h.height = static_cast<uint16_t>(b[7] << 8 | b[8]);
    h.paperSource = b[9];
    h.longEdge = b[11];
    h.oddPage = b[12];

    const size_t at = page->offset;
    if (h.resolutionCode != 3 && h.resolutionCode != 6 && h.resolutionCode != 12) {
        return Fail(at + 1, "page header resolution " + Number(h.resolutionCode) +
                                " is not 3, 6 or 12 (hundreds of dots per inch)");
    }
    if (h.copies == 0) return Fail(at + 2, "page header asks for 0 copies");
    if (h.width == 0) return Fail(at + 5, "page header width is 0");
    if (h.height == 0) return Fail(at + 7, "page header height is 0");
    if (h.longEdge > 1) return Fail(at + 11, "page header long-edge byte is " + Number(h.longEdge));
    if (h.oddPage > 1) return Fail(at + 12, "page header odd-page byte is " + Number(h.oddPage));
    const struct {
        size_t index;
        uint8_t value;
    } fixed[] = {{10, 0}, {13, 0}, {14, 1}, {15, 0}, {16, 0}};
    for (const auto& f : fixed) {
        if (b[f.index] != f.value) {
            return Fail(at + f.index, "page header byte " + Number(f.index) + " is " + Hex(b[f.index], 2) +
                                          ", not " + Hex(f.value, 2));
        }
    }
    return true;
}

bool StreamDecoder::ReadPageTrailer(DecodedPage* page, size_t offset) {
    uint16_t copies = 0;
    if (!cursor_.ReadBE16(&copies)) {
        return Fail(offset, "the stream ends inside the page trailer");
    }
    page->trailerCopies = copies;
    if (copies != page->header.copies) {
        return Fail(offset + 1, "page trailer copies " + Number(copies) + " differ from the page header's " +
                                    Number(page->header.copies));
    }
    return true;
}

bool StreamDecoder::ReadBandGeometry(DecodedPage* page, DecodedBand* band) {
    const size_t at = band->offset;
    if (band->widthDots == 0 || band->widthDots % 8 != 0) {
        return Fail(at + 2,
                    "band width " + Number(band->widthDots) + " is not a positive multiple of 8 dots");
    }
    if (band->lines == 0) return Fail(at + 4, "band height is 0 lines");
    if (!page->bands.empty()) {
        const DecodedBand& first = page->bands.front();
        if (band->widthDots != first.widthDots || band->lines != first.lines) {
            return Fail(at + 2, "band of " + Number(band->widthDots) + " x " + Number(band->lines) +
                                    " differs from the page's first band of " + Number(first.widthDots) +
                                    " x " + Number(first.lines));
        }
    }
    const uint64_t planeBytes = uint64_t{band->widthDots / 8} * band->lines;
    if (planeBytes > options_.maxBandPlaneBytes) {
        return Fail(at + 2, "band of " + Number(band->widthDots) + " x " + Number(band->lines) +
                                " dots is larger than the decoder accepts");
    }
    // Band numbers are 8 bits and bands come top to bottom, white bands left
    // out: each band is the first one after the previous with that number.
    if (page->bands.empty()) {
        band->index = band->number;
    } else {
        const uint32_t next = page->bands.back().index + 1;
        band->index = next + static_cast<uint8_t>(band->number - next);
    }
    bandIndex_ = band->index;
    inBand_ = true;
    const uint64_t firstLine = uint64_t{band->index} * band->lines;
    if (firstLine >= page->header.height) {
        return Fail(at + 1, "band starts at line " + Number(firstLine) + ", below the page's " +
                                Number(page->header.height) + " lines");
    }
    band->firstLine = static_cast<uint32_t>(firstLine);
    return true;
}

bool StreamDecoder::ReadBand(DecodedPage* page, size_t offset) {
    DecodedBand band;
    band.offset = offset;
    uint16_t width = 0, lines = 0;
    uint8_t planeId = 0, compression = 0;
    uint32_t length = 0;
    if (!cursor_.ReadU8(&band.number) || !cursor_.ReadBE16(&width) || !cursor_.ReadBE16(&lines) ||
        !cursor_.ReadU8(&planeId) || !cursor_.ReadU8(&compression) || !cursor_.ReadBE32(&length)) {
        return Fail(offset, "the stream ends inside a band header");
    }
    band.widthDots = width;
    band.lines = lines;
    if (!ReadBandGeometry(page, &band)) return false;
    if (!ReadPlane(page, &band, planeId, compression, length, offset + 8)) return false;

    for (;;) {
        const size_t at = cursor_.Offset();
        uint8_t next = 0;
        if (!cursor_.ReadU8(&next)) {
            return Fail(at, "the stream ends inside the band (no band end byte)");
        }
        if (next == kBandEndByte) break;
        if (next > kLastPlaneId) {
            return Fail(at, "unknown record byte " + Hex(next, 2) +
                                " after a plane (expected a plane header 1-4 or the band end 0x00)");
        }
        if (!cursor_.ReadU8(&compression) || !cursor_.ReadBE32(&length)) {
            return Fail(at, "the stream ends inside a plane header");
        }
        if (!ReadPlane(page, &band, next, compression, length, at + 2)) return false;
    }
    page->bands.push_back(std::move(band));
    inBand_ = false;
    planeId_ = 0;
    return true;
}

bool StreamDecoder::ReadPlane(DecodedPage* page, DecodedBand* band, uint8_t planeId, uint8_t compression,
                              uint32_t lengthField, size_t lengthOffset) {
    const size_t idOffset = band->planes.empty() ? band->offset + 6 : lengthOffset - 2;
    planeId_ = 0;
    if (planeId < 1 || planeId > kLastPlaneId) {
        return Fail(idOffset, "plane id " + Number(planeId) + " is not 1 to 4");
    }
    if (!band->planes.empty() && planeId <= band->planes.back().planeId) {
        return Fail(idOffset, "plane " + Number(planeId) + " follows plane " +
                                  Number(band->planes.back().planeId) +
                                  " in the same band (planes go 1, 2, 3, 4)");
    }
    planeId_ = planeId;
    if (compression != kCompressRaw && compression != kCompressOffsetTable && compression != kCompressLzw) {
        return Fail(idOffset + 1, "unknown compression code " + Hex(compression, 2));
    }
    if (lengthField <= 4) {
        return Fail(lengthOffset, "length field " + Number(lengthField) +
                                      " leaves no plane data (it counts the data plus 4)");
    }
    DecodedPlaneRecord record;
    record.planeId = planeId;
    record.compression = compression;
    record.dataSize = lengthField - 4;
    record.offset = cursor_.Offset();
    record.fullHeader = band->planes.empty();
    const uint8_t* data = nullptr;
    if (!cursor_.Take(record.dataSize, &data)) {
        return Fail(record.offset, "the plane announces " + Number(record.dataSize) +
                                       " bytes of data but only " + Number(cursor_.Remaining()) + " remain");
    }
    const size_t checksumOffset = cursor_.Offset();
    if (!cursor_.ReadBE32(&record.checksum)) {
        return Fail(checksumOffset, "the stream ends inside the plane checksum");
    }
    uint32_t sum = 0;
    for (uint32_t i = 0; i < record.dataSize; ++i) sum += data[i];
    if (sum != record.checksum) {
        return Fail(checksumOffset, "checksum " + Hex(record.checksum, 8) +
                                        " does not match the data's byte sum " + Hex(sum, 8));
    }
    std::string why;
    const uint32_t widthBytes = band->widthDots / 8;
    if (!DecodePlane(compression, data, record.dataSize, widthBytes, band->lines, &bandPlane_, &why)) {
        return Fail(record.offset, "cannot decompress the " + Hex(compression, 2) + " plane: " + why);
    }
    if (bandPlane_.size() != size_t{widthBytes} * band->lines) {
        return Fail(record.offset, "the plane decompressed to " + Number(bandPlane_.size()) +
                                       " bytes instead of " + Number(uint64_t{widthBytes} * band->lines));
    }
    if (!PlacePlane(page, *band, &record)) return false;
    band->planes.push_back(record);
    return true;
}

bool StreamDecoder::PlacePlane(DecodedPage* page, const DecodedBand& band, DecodedPlaneRecord* record) {
    PagePlane& plane = page->planes[record->planeId - 1];
    if (!plane.Allocated()) {
        const uint64_t bytes = uint64_t{(page->header.width + 7u) / 8} * page->header.height;
        if (bytes > options_.maxPagePlaneBytes || heldPlaneBytes_ + bytes > options_.maxKeptPlaneBytes) {
            return Fail(record->offset, "a page plane of " + Number(page->header.width) + " x " +
                                            Number(page->header.height) +
                                            " dots is more than the decoder may hold");
        }
        PagePlaneAllocate(&plane, page->header.width, page->header.height);
        heldPlaneBytes_ += bytes;
    }
    record->dots = CountDots(bandPlane_.data(), bandPlane_.size());
    page->dotsOutsidePage +=
        PagePlanePlaceBand(&plane, bandPlane_.data(), band.widthDots / 8, band.lines, band.firstLine);
    return true;
}

void StreamDecoder::FinishPage(DecodedPage* page) {
    for (PagePlane& plane : page->planes) {
        if (!plane.Allocated()) continue;
        PagePlaneCountDots(&plane);
        if (!options_.keepPlanes) {
            heldPlaneBytes_ -= plane.bits.size();
            std::vector<uint8_t>().swap(plane.bits);
        }
    }
}

bool StreamDecoder::ReadJobTrailer(size_t offset) {
    const uint8_t* exit = nullptr;
    if (!cursor_.Take(kUniversalExit.size(), &exit)) {
        return Fail(offset + 1, "the stream ends inside the job trailer");
    }
    if (std::memcmp(exit, kUniversalExit.data(), kUniversalExit.size()) != 0) {
        return Fail(offset + 1, "the job trailer lacks the universal exit sequence");
    }
    if (!cursor_.AtEnd()) {
        return Fail(cursor_.Offset(), Number(cursor_.Remaining()) + " bytes after the job trailer");
    }
    return true;
}

}  // namespace

bool DecodeStream(const uint8_t* data, size_t size, const DecodeOptions& options, DecodedJob* job,
                  std::string* error) {
    std::string ignored;
    StreamDecoder decoder(data, size, options, job, error ? error : &ignored);
    return decoder.Run();
}
