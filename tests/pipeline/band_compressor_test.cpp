// CompressOneBand's choice of coder and analysis, and round trips of every
// band shape and kind of content through the printer-side decoders.
#include "pipeline/band_compressor.h"

#include <gtest/gtest.h>

#include "compression_planes.h"
#include "decode/plane_decoder.h"
#include "pipeline/lzw_coder.h"

namespace {

struct Compressed {
    Bytes block;
    uint8_t code;
};

Compressed Compress(const Bytes& plane, const BandShape& s, uint32_t index, uint32_t count, bool objectFlag,
                    FBCompressTables* tables) {
    CoderBuffers buffers(s.width, s.lines);
    uint8_t code = 0;
    const uint32_t size = CompressOneBand(buffers.out.data(), plane.data(), index, count, s.lines, s.width,
                                          buffers.work.data(), &code, s.resolution, objectFlag, tables);
    EXPECT_LE(size, buffers.out.size());
    buffers.out.resize(size);
    return {buffers.out, code};
}

Bytes Decode(const Compressed& c, const BandShape& s) {
    Bytes plane;
    std::string error;
    EXPECT_TRUE(DecodePlane(c.code, c.block.data(), c.block.size(), s.width, s.lines, &plane, &error))
        << error;
    return plane;
}

TEST(BandCompressor, ParameterPerBandAndResolution) {
    EXPECT_EQ(FBCompressParameter(0, 50, 600), 10);
    EXPECT_EQ(FBCompressParameter(49, 50, 600), 10);
    EXPECT_EQ(FBCompressParameter(3, 50, 300), 50);
    EXPECT_EQ(FBCompressParameter(47, 50, 600), 50);
    EXPECT_EQ(FBCompressParameter(1, 50, 600), 0);
    EXPECT_EQ(FBCompressParameter(4, 50, 300), 0);
    EXPECT_EQ(FBCompressParameter(5, 6, 300), 10);  // last band, though 5 mod 4 is 1
    for (uint32_t index : {0u, 1u, 3u, 49u}) EXPECT_EQ(FBCompressParameter(index, 50, 1200), 100);
}

TEST(BandCompressor, TextBandsUseLzwOnColumns) {
    const BandShape s = kBandShapes[1];
    FBCompressTables tables;
    const Compressed c = Compress(DitherPlane(s.width, s.lines, 16), s, 5, 50, true, &tables);
    EXPECT_EQ(c.code, kBandCodeLzw);
    EXPECT_EQ(LE32At(c.block, 0), kLzwMagicTransposed);
    EXPECT_FALSE(tables.IsBuilt());  // the offset tables are not touched
}

TEST(BandCompressor, OtherBandsUseTheOffsetTablesAsTheBandIndexAsks) {
    const BandShape s = kBandShapes[1];
    const Bytes plane = DitherPlane(s.width, s.lines, 24);
    FBCompressTables tables;
    // Nothing built yet: even a band with parameter 0 analyses, with full lengths.
    Compressed c = Compress(plane, s, 1, 50, false, &tables);
    EXPECT_EQ(c.code, kBandCodeOffsetTable);
    EXPECT_EQ(LE32At(c.block, 0), kFBBMagic);
    ASSERT_TRUE(tables.IsBuilt());
    EXPECT_EQ(tables.xFX_MaxMatchCnts[1], 514);
    // Band 3 of 50: parameter 50.
    Compress(plane, s, 3, 50, false, &tables);
    EXPECT_EQ(tables.xFX_MaxMatchCnts[1], 506);
    // Band 2: reuses what is there, here a table planted by hand.
    for (int32_t& offset : tables.xFX_rFXOffs) offset = -3;
    const Bytes black = SolidPlane(s.width, s.lines, 0x00);
    c = Compress(black, s, 2, 50, false, &tables);
    EXPECT_EQ(tables.xFX_rFXOffs[0], -3);
    EXPECT_EQ(LE32At(c.block, 4), 3u);  // L = the farthest distance
    EXPECT_EQ(c.block[8], 3);
    EXPECT_EQ(c.block[8 + 126], 3);
    EXPECT_EQ(Decode(c, s), black);
    // First band: parameter 10 rebuilds.
    Compress(plane, s, 0, 50, false, &tables);
    EXPECT_EQ(tables.xFX_MaxMatchCnts[1], 474);
    EXPECT_NE(tables.xFX_rFXOffs[0], -3);
    // 1200 dpi: parameter 100 whatever the band.
    Compress(DitherPlane(1240, 128, 24), kBandShapes[2], 2, 50, false, &tables);
    EXPECT_EQ(tables.xFX_MaxMatchCnts[1], 514);
}

TEST(BandCompressor, DocumentsKeepTheirOwnTables) {
    // Two documents printing at once, band by band, give the bytes each gives alone.
    const BandShape s = kBandShapes[0];
    auto bandOf = [&](int document, uint32_t band) {
        return document == 0 ? DitherPlane(s.width, s.lines, static_cast<int>(4 + band * 7))
                             : NearlyWhitePlane(s.width, s.lines, band);
    };
    std::vector<Bytes> alone[2];
    for (int document = 0; document < 2; ++document) {
        FBCompressTables tables;
        for (uint32_t band = 0; band < 8; ++band) {
            alone[document].push_back(Compress(bandOf(document, band), s, band, 8, false, &tables).block);
        }
    }
    FBCompressTables tables[2];
    for (uint32_t band = 0; band < 8; ++band) {
        for (int document = 0; document < 2; ++document) {
            EXPECT_EQ(Compress(bandOf(document, band), s, band, 8, false, &tables[document]).block,
                      alone[document][band])
                << "document " << document << " band " << band;
        }
    }
}

TEST(BandCompressor, EveryShapeAndContentSurvivesBothCoders) {
    for (const BandShape& s : kBandShapes) {
        const std::pair<const char*, Bytes> planes[] = {
            {"random", RandomPlane(s.width, s.lines, s.width)},
            {"halftone", DitherPlane(s.width, s.lines, 21)},
            {"black", SolidPlane(s.width, s.lines, 0x00)},
            {"nearly white", NearlyWhitePlane(s.width, s.lines, s.lines)},
        };
        for (const auto& [name, plane] : planes) {
            SCOPED_TRACE(std::string(name) + " at " + std::to_string(s.resolution));
            FBCompressTables tables;
            for (bool objectFlag : {true, false}) {
                const Compressed c = Compress(plane, s, 0, 10, objectFlag, &tables);
                EXPECT_EQ(Decode(c, s), plane);
                const bool raw = LE32At(c.block, 4) == 0xFFFFFFFFu;
                EXPECT_EQ(raw, std::string(name) == "random") << "objectFlag " << objectFlag;
                if (!raw) {
                    EXPECT_LT(c.block.size(), plane.size() / 4);
                }
            }
            // LZW on rows, as it is when not transposing.
            CoderBuffers buffers(s.width, s.lines);
            Compressed rows{{}, kBandCodeLzw};
            const uint32_t size = XORLZW77_BMP_Data_En(buffers.out.data(), plane.data(), s.width, s.lines,
                                                       buffers.work.data(), false);
            rows.block.assign(buffers.out.begin(), buffers.out.begin() + size);
            EXPECT_EQ(LE32At(rows.block, 0), kLzwMagicPlain);
            EXPECT_EQ(Decode(rows, s), plane);
        }
    }
}

TEST(BandCompressor, LongRunsBecomeCopiesOf514) {
    // A black 600 dpi band: distances 1..64, 64 leading bytes, then
    // 79296 = 154 x 514 + 140 bytes of copies.
    const BandShape s = kBandShapes[1];
    FBCompressTables tables;
    const Compressed c = Compress(SolidPlane(s.width, s.lines, 0x00), s, 0, 10, false, &tables);
    ASSERT_EQ(LE32At(c.block, 4), 64u);
    std::vector<uint32_t> copies;
    for (size_t i = 136 + 64; i + 1 < c.block.size(); i += 2) {
        ASSERT_TRUE(c.block[i] & 0x80) << "literal run at " << i;
        copies.push_back(((c.block[i] & 0x7Fu) | (c.block[i + 1] & 0xC0u) << 1) + 3);
    }
    ASSERT_EQ(copies.size(), 155u);
    EXPECT_EQ(std::count(copies.begin(), copies.end(), 514u), 154);
    EXPECT_EQ(copies.back(), 140u);
}

TEST(BandCompressor, NarrowPlanesAreNotTransposed) {
    const Bytes column = DitherPlane(1, 3000, 30);
    FBCompressTables tables;
    const Compressed lzw = Compress(column, {600, 1, 3000}, 0, 1, true, &tables);
    EXPECT_EQ(LE32At(lzw.block, 0), kLzwMagicPlain);
    EXPECT_EQ(Decode(lzw, {600, 1, 3000}), column);
    const Bytes line = DitherPlane(3000, 1, 30);
    const Compressed single = Compress(line, {600, 3000, 1}, 0, 1, true, &tables);
    EXPECT_EQ(LE32At(single.block, 0), kLzwMagicPlain);
    EXPECT_EQ(Decode(single, {600, 3000, 1}), line);
    Compressed table = Compress(line, {600, 3000, 1}, 0, 1, false, &tables);
    EXPECT_EQ(Decode(table, {600, 3000, 1}), line);
}

}  // namespace
