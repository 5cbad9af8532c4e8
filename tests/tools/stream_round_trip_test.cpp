// The pipeline's stream structures, read back by the decoder: what the
// library builds must come out of the parser as the page and settings it was
// built from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decode/stream_decoder.h"
#include "pipeline/band_compressor.h"
#include "pipeline/fb_records.h"
#include "pipeline/pjl.h"
#include "pipeline/stream_records.h"
#include "support/plane_compare.h"

namespace {

// A job of the page a settings record describes, read as the library reads
// it, built record by record with the library's own record builders.
class JobBuilder {
public:
    JobBuilder(const FBInterface& record, uint32_t documentOptions) {
        FBPageSetInfo(&page, record, 1);
        InitializeSettings(&settings, documentOptions, record);
        char text[kPJLBufferSize];
        EXPECT_EQ(BuildJobHeader(text, page, &settings), 1);
        bytes.insert(bytes.end(), text, text + std::char_traits<char>::length(text));
    }
    void PageHeader(uint32_t counter) { Append(BuildPageHeader(page, settings, counter)); }
    void PageTrailer() { Append(BuildPageTrailer(page)); }
    // One band record; planes[i] = {plane id, code, data}.
    struct Plane {
        uint8_t id;
        uint8_t code;
        std::vector<uint8_t> data;
    };
    void Band(uint32_t number, uint32_t widthDots, uint32_t lines, const std::vector<Plane>& planes) {
        for (size_t i = 0; i < planes.size(); ++i) {
            const Plane& p = planes[i];
            const auto size = static_cast<uint32_t>(p.data.size());
            if (i == 0) {
                Append(BuildBandHeader(number, p.code, widthDots, lines, size, p.id));
            } else {
                Append(BuildPlaneHeader(p.code, size, p.id));
            }
            bytes.insert(bytes.end(), p.data.begin(), p.data.end());
            Append(std::optional(BuildBandChecksum(p.data.data(), size)));
        }
        bytes.push_back(kRecordBandEnd);
    }
    void JobTrailer() {
        bytes.push_back(kRecordJobTrailer);
        bytes.insert(bytes.end(), kUniversalExit.begin(), kUniversalExit.end());
    }

    // The job decoded; the test fails when it does not decode.
    DecodedJob Decode() const {
        DecodedJob decoded;
        std::string error;
        EXPECT_TRUE(DecodeStream(bytes.data(), bytes.size(), &decoded, &error)) << error;
        return decoded;
    }

    FBPage page;
    FBSettings settings;
    std::vector<uint8_t> bytes;

private:
    template <size_t N>
    void Append(const std::optional<std::array<uint8_t, N>>& a) {
        ASSERT_TRUE(a.has_value());
        bytes.insert(bytes.end(), a->begin(), a->end());
    }
};

FBInterface Record(uint32_t paper, uint32_t resolution, uint32_t colour) {
    FBInterface r;
    r.SetUInt(kFBIPaperSize, paper);
    r.SetUInt(kFBIResolution, resolution);
    r.SetUInt(kFBIOutputResolution, resolution);
    r.SetUInt(kFBIColour, colour);
    r.SetUInt(kFBICopies, 3);
    r.SetUInt(kFBIPaperSource, 2);
    r.SetUInt(kFBIPaperType, 1);
    r.SetUInt(kFBIJamRecovery, 1);
    r.SetUInt(kFBIDuplexBinding, 1);
    return r;
}

TEST(StreamRoundTrip, PjlAndPageHeadersComeBackAsBuilt) {
    JobBuilder job(Record(9, 600, 1), kDocOptDuplex);
    for (uint32_t counter : {1u, 2u}) {
        job.PageHeader(counter);
        job.PageTrailer();
    }
    job.JobTrailer();

    const DecodedJob decoded = job.Decode();
    EXPECT_EQ(*decoded.Set("COLORMODE"), "COLOR");
    EXPECT_EQ(*decoded.Set("PAPERTYPE"), "NORMAL");
    EXPECT_EQ(*decoded.Set("RET"), "OFF");
    EXPECT_EQ(*decoded.Set("JAMRECOVERY"), "ON");
    EXPECT_EQ(*decoded.Set("DUPLEX"), "ON");
    EXPECT_EQ(*decoded.Set("BINDING"), "LONGEDGE");
    EXPECT_EQ(decoded.pjl.size(), 6u);

    ASSERT_EQ(decoded.pages.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const DecodedPageHeader& h = decoded.pages[i].header;
        EXPECT_EQ(h.resolutionCode, 6);
        EXPECT_EQ(h.copies, 3);
        EXPECT_EQ(h.paperSize, 2);  // A4
        EXPECT_EQ(h.width, 4760);
        EXPECT_EQ(h.height, 6814);
        EXPECT_EQ(h.paperSource, 5);  // bin 2
        EXPECT_EQ(h.longEdge, 1);
        EXPECT_EQ(h.oddPage, i == 0 ? 1 : 0);
        EXPECT_EQ(decoded.pages[i].trailerCopies, 3);
    }
}

TEST(StreamRoundTrip, TheSixHundredByTwelveHundredModeDoublesThePage) {
    FBInterface record = Record(1, 600, 0);
    record.SetUInt(kFBIOutputResolution, 1200);
    record.SetUInt(kFBICollate, 1);
    JobBuilder job(record, 0);
    job.PageHeader(1);
    job.PageTrailer();
    job.JobTrailer();
    const DecodedJob decoded = job.Decode();
    EXPECT_EQ(*decoded.Set("COLORMODE"), "MONO");
    EXPECT_EQ(decoded.Set("DUPLEX"), nullptr);
    const DecodedPageHeader& h = decoded.pages.at(0).header;
    EXPECT_EQ(h.resolutionCode, 12);
    EXPECT_EQ(h.width, 9800);  // Letter: 2450 / 300 inch, 4900 dots at 600, doubled
    EXPECT_EQ(h.height, 12800);
    EXPECT_EQ(h.copies, 1);   // collated
    EXPECT_EQ(h.oddPage, 0);  // no duplex
}

// A screen-like plane: a diagonal line pattern with a solid block, so that
// both coders find something to compress.
std::vector<uint8_t> PatternPlane(uint32_t width, uint32_t lines) {
    std::vector<uint8_t> plane(size_t{width} * lines, 0xFF);
    for (uint32_t y = 0; y < lines; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            uint8_t byte = static_cast<uint8_t>(~(0x80 >> ((x + y) % 8)));
            if (x > width / 2 && y < lines / 2) byte = 0x00;
            plane[size_t{y} * width + x] = byte;
        }
    }
    return plane;
}

TEST(StreamRoundTrip, CompressedBandsDecodeToTheirPlanes) {
    const uint32_t widthBytes = 308, lines = 64;  // a 300 dpi physical band
    const std::vector<uint8_t> cyan = PatternPlane(widthBytes, lines);
    std::vector<uint8_t> black(cyan.rbegin(), cyan.rend());

    std::vector<uint8_t> out(CompressOutBytes(widthBytes, lines));
    std::vector<uint16_t> work(CompressWorkBytes(widthBytes, lines) / 2 + 1);
    auto* workBytes = reinterpret_cast<uint8_t*>(work.data());
    FBCompressTables tables;
    auto compress = [&](const std::vector<uint8_t>& plane, bool objectFlag, uint8_t id) {
        uint8_t code = 0;
        const uint32_t size = CompressOneBand(out.data(), plane.data(), 0, 1, lines, widthBytes, workBytes,
                                              &code, 300, objectFlag, &tables);
        EXPECT_LT(size, plane.size()) << "the pattern should compress";
        return JobBuilder::Plane{id, code, std::vector<uint8_t>(out.begin(), out.begin() + size)};
    };
    const JobBuilder::Plane lzw = compress(cyan, true, 1);
    const JobBuilder::Plane offsets = compress(black, false, 4);
    EXPECT_EQ(lzw.code, kBandCodeLzw);
    EXPECT_EQ(offsets.code, kBandCodeOffsetTable);

    FBInterface record = Record(9, 300, 1);
    record.SetUInt(kFBIPrintableWidth, 2400);
    record.SetUInt(kFBIPrintableHeight, 20 * lines);
    JobBuilder job(record, 0);
    job.PageHeader(1);
    // Bands 3 and 10 of the page, the second one raw.
    job.Band(3, widthBytes * 8, lines, {lzw, offsets});
    job.Band(10, widthBytes * 8, lines, {{2, kBandCodeRaw, cyan}});
    job.PageTrailer();
    job.JobTrailer();

    const DecodedJob decoded = job.Decode();
    ASSERT_EQ(decoded.pages.size(), 1u);
    const DecodedPage& p = decoded.pages[0];
    ASSERT_EQ(p.bands.size(), 2u);
    EXPECT_EQ(p.bands[0].firstLine, 3 * lines);
    EXPECT_EQ(p.bands[1].index, 10u);
    EXPECT_EQ(p.bands[0].planes.at(0).compression, kBandCodeLzw);
    EXPECT_EQ(p.bands[0].planes.at(1).compression, kBandCodeOffsetTable);

    // Dot by dot over the whole page (2400 dots of the band's 2464): each
    // plane holds its band's dots and nothing else.
    auto dotsOfBand = [&](const std::vector<uint8_t>& plane, uint32_t firstLine) {
        return [&plane, firstLine](uint32_t x, uint32_t y) {
            return y >= firstLine && y < firstLine + lines &&
                   zebl_test::PackedDot(plane.data(), widthBytes, x, y - firstLine);
        };
    };
    const uint32_t pageLines = 20 * lines;
    EXPECT_EQ(zebl_test::CompareDots(p.Plane(1), 2400, pageLines, dotsOfBand(cyan, 3 * lines)), "");
    EXPECT_EQ(zebl_test::CompareDots(p.Plane(4), 2400, pageLines, dotsOfBand(black, 3 * lines)), "");
    EXPECT_EQ(zebl_test::CompareDots(p.Plane(2), 2400, pageLines, dotsOfBand(cyan, 10 * lines)), "");
    EXPECT_FALSE(p.Plane(3).Allocated());
    // The page plane holds every dot of the bands except those right of the page.
    uint64_t bandDots = 0;
    for (const DecodedBand& band : p.bands) {
        for (const DecodedPlaneRecord& plane : band.planes) bandDots += plane.dots;
    }
    EXPECT_EQ(p.Plane(1).dots + p.Plane(2).dots + p.Plane(4).dots + p.dotsOutsidePage, bandDots);
    EXPECT_GT(p.dotsOutsidePage, 0u);
}

}  // namespace
