// The offset-table coder against blocks worked out by hand from the token
// layout, and its distance analysis against planes whose repetitions are known.
#include "pipeline/offset_table_coder.h"

#include <gtest/gtest.h>

#include "compression_planes.h"
#include "pipeline/lzw_coder.h"

namespace {

FBCompressTables TablesOf(std::initializer_list<std::pair<int, uint32_t>> slots, uint32_t others,
                          uint16_t maxCount = 514) {
    FBCompressTables t;
    for (int k = 0; k < kFBBDistanceCount; ++k) t.xFX_rFXOffs[k] = -static_cast<int32_t>(others);
    for (const auto& [k, d] : slots) t.xFX_rFXOffs[k] = -static_cast<int32_t>(d);
    for (uint16_t& m : t.xFX_MaxMatchCnts) m = maxCount;
    return t;
}

// Codes data as one line with the given tables; returns the block, or an
// empty vector when the coder gave up.
Bytes CodeLine(const Bytes& data, const FBCompressTables& tables) {
    Bytes out(data.size() + 1024);
    CompressCursor cursor;
    iCSTFBB_Reset(&cursor, out.data());
    PutLE32(out.data(), kFBBMagic);
    if (iCSTFBB_WriteBiLLine(&cursor, data.data(), static_cast<uint32_t>(data.size()), 1, tables) != 0) {
        return {};
    }
    out.resize(iCSTFBB_DataSize(cursor));
    return out;
}

// The expected block: header with L, the table as 16-bit distances, then tail.
Bytes Block(uint32_t leading, std::initializer_list<std::pair<int, uint32_t>> slots, uint32_t others,
            const Bytes& tail) {
    Bytes b{0xEF, 0xCD, 0xAB, 0x09, static_cast<uint8_t>(leading), 0, 0, 0};
    for (int k = 0; k < kFBBDistanceCount; ++k) {
        uint32_t d = others;
        for (const auto& [slot, distance] : slots) d = slot == k ? distance : d;
        b.push_back(static_cast<uint8_t>(d));
        b.push_back(static_cast<uint8_t>(d >> 8));
    }
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(OffsetTableCoder, CopyTokenAndClosingLiteralRun) {
    // "AB" x 99 + "XY"; distances: slot 0 = 2, others 1. L = 2 ("AB"), then a
    // copy of 196 from slot 0 (m = 193: 0xC1, 0x40), then the run "XY" (0x01).
    Bytes line;
    for (int i = 0; i < 99; ++i) line.insert(line.end(), {'A', 'B'});
    line.insert(line.end(), {'X', 'Y'});
    EXPECT_EQ(CodeLine(line, TablesOf({{0, 2}}, 1)),
              Block(2, {{0, 2}}, 1, Bytes{'A', 'B', 0xC1, 0x40, 0x01, 'X', 'Y'}));
}

TEST(OffsetTableCoder, NinthLengthBitAndDistanceIndexInTheSecondByte) {
    // "ABCDEFG" + 300 x 'G'; slot 5 = 1, others 7 (L = 7). Only slot 5 matches:
    // copy 300, m = 297 = 1 0010 1001b -> 0xA9, 0x80 | 5.
    const Bytes data = Concat(Text("ABCDEFG"), Bytes(300, 'G'));
    EXPECT_EQ(CodeLine(data, TablesOf({{5, 1}}, 7)),
              Block(7, {{5, 1}}, 7, Concat(Text("ABCDEFG"), Bytes{0xA9, 0x85})));
}

TEST(OffsetTableCoder, CopiesNeverExceed514Bytes) {
    // 600 repeats: a copy of 514 (m = 511: 0xFF, 0xC5), then 86 (m = 83),
    // which slot 0 (distance 7) now reaches first: 0xD3, 0x00.
    const Bytes data = Concat(Text("ABCDEFG"), Bytes(600, 'G'));
    EXPECT_EQ(CodeLine(data, TablesOf({{5, 1}}, 7)),
              Block(7, {{5, 1}}, 7, Concat(Text("ABCDEFG"), Bytes{0xFF, 0xC5, 0xD3, 0x00})));
}

TEST(OffsetTableCoder, LiteralRunsHoldAtMost128Bytes) {
    // Bytes 0..129 then 400 x 129, distance 1 everywhere (L = 1). Bytes 1..128
    // fill one run (0x7F), 129 opens the next (0x00), then copy 400 (m = 397:
    // 0x8D, 0xC0).
    Bytes data(130);
    for (int i = 0; i < 130; ++i) data[i] = static_cast<uint8_t>(i);
    data.insert(data.end(), 400, 129);
    Bytes tail{0x00, 0x7F};
    for (int i = 1; i <= 128; ++i) tail.push_back(static_cast<uint8_t>(i));
    tail.insert(tail.end(), {0x00, 0x81, 0x8D, 0xC0});
    EXPECT_EQ(CodeLine(data, TablesOf({}, 1)), Block(1, {}, 1, tail));
}

TEST(OffsetTableCoder, MaximumCopyLengthEndsTheSearch) {
    // "AAAAAB" + 300 x 'A'; slot 0 = 5, others 6 (L = 6). At byte 6 slot 0
    // matches 4 bytes and slot 1 five.
    const Bytes data = Concat(Text("AAAAAB"), Bytes(300, 'A'));
    // Full lengths: the longer copy (5 from slot 1), then 295 from slot 0.
    EXPECT_EQ(CodeLine(data, TablesOf({{0, 5}}, 6)),
              Block(6, {{0, 5}}, 6, Concat(Text("AAAAAB"), Bytes{0x82, 0x01, 0xA4, 0x80})));
    // Length 3 is enough for every slot: slot 0's 4 bytes end the search, one
    // literal 'A' follows (no slot reaches 3 there), then 295 from slot 0.
    EXPECT_EQ(CodeLine(data, TablesOf({{0, 5}}, 6, 3)),
              Block(6, {{0, 5}}, 6, Concat(Text("AAAAAB"), Bytes{0x81, 0x00, 0x00, 'A', 0xA4, 0x80})));
}

TEST(OffsetTableCoder, GivesUpOnNoiseAndSendsTheRawPlane) {
    const Bytes plane = RandomPlane(308, 64, 5);
    CoderBuffers buffers(308, 64);
    FBCompressTables tables;
    const uint32_t size =
        XORFBB_BMP_Data_En(buffers.out.data(), plane.data(), 308, 64, buffers.work.data(), 10, &tables);
    ASSERT_EQ(size, plane.size() + 8);
    EXPECT_EQ(LE32At(buffers.out, 0), kFBBMagic);
    EXPECT_EQ(LE32At(buffers.out, 4), 0xFFFFFFFFu);
    EXPECT_TRUE(std::equal(plane.begin(), plane.end(), buffers.out.begin() + 8));
    // Without a work buffer a band cannot be transposed: raw rather than rows
    // the printer would read as columns.
    const Bytes halftone = DitherPlane(308, 64, 20);
    EXPECT_EQ(XORFBB_BMP_Data_En(buffers.out.data(), halftone.data(), 308, 64, nullptr, 10, &tables),
              halftone.size() + 8);
    EXPECT_EQ(LE32At(buffers.out, 4), 0xFFFFFFFFu);
}

// ---- Analysis --------------------------------------------------------------

std::vector<uint32_t> Distances(const FBCompressTables& t) {
    std::vector<uint32_t> d;
    for (int32_t offset : t.xFX_rFXOffs) d.push_back(static_cast<uint32_t>(-offset));
    return d;
}

std::vector<uint32_t> Multiples(uint32_t step) {
    std::vector<uint32_t> d;
    for (uint32_t k = 1; k <= 64; ++k) d.push_back(k * step);
    return d;
}

TEST(OffsetTableAnalysis, EqualCountsGoToTheShortestDistances) {
    // Every distance matches everywhere: the table is 1..64 in order.
    FBCompressTables tables;
    const Bytes white = SolidPlane(128, 620, 0xFF);
    iFindXFXOffs(white.data(), 128, 620, 10, &tables);
    EXPECT_EQ(Distances(tables), Multiples(1));
    // Period 8 of distinct bytes: only multiples of 8 ever match, all equally.
    Bytes periodic(128 * 620);
    for (size_t i = 0; i < periodic.size(); ++i) periodic[i] = static_cast<uint8_t>(i % 8 * 17);
    iFindXFXOffs(periodic.data(), 128, 620, 10, &tables);
    EXPECT_EQ(Distances(tables), Multiples(8));
}

// Sample positions get byte[p - 1000], the others byte[p - 700]: the table's
// first entry tells whether the analysis looked at the right positions.
Bytes SampleProbe(size_t total, size_t step, uint32_t seed) {
    Bytes data = RandomPlane(static_cast<uint32_t>(total), 1, seed);
    for (size_t p = 2048; p < total; ++p) data[p] = data[p - ((p - 2048) % step == 0 ? 1000 : 700)];
    return data;
}

TEST(OffsetTableAnalysis, SamplesOnePositionPerColumnFromByte2048) {
    FBCompressTables tables;
    // 40 columns of 100: step (4000 - 2048) / 39 = 50.
    const Bytes a = SampleProbe(4000, 50, 1);
    iFindXFXOffs(a.data(), 100, 40, 10, &tables);
    EXPECT_EQ(tables.xFX_rFXOffs[0], -1000);
    // 3000 columns of 4: at most 1024 spans, step (12000 - 2048) / 1024 = 9.
    const Bytes b = SampleProbe(12000, 9, 2);
    iFindXFXOffs(b.data(), 4, 3000, 10, &tables);
    EXPECT_EQ(tables.xFX_rFXOffs[0], -1000);
    // One line (no column count): also 1024 spans.
    const Bytes c = SampleProbe(12000, 9, 3);
    iFindXFXOffs(c.data(), 12000, 1, 10, &tables);
    EXPECT_EQ(tables.xFX_rFXOffs[0], -1000);
}

TEST(OffsetTableAnalysis, MaximumCopyLengthsFollowTheParameter) {
    FBCompressTables tables;
    const Bytes plane = DitherPlane(64, 64, 30);
    auto lengths = [&](uint8_t parameter) {
        iFindXFXOffs(plane.data(), 64, 64, parameter, &tables);
        return std::vector<uint16_t>(std::begin(tables.xFX_MaxMatchCnts), std::end(tables.xFX_MaxMatchCnts));
    };
    const std::vector<uint16_t> full(64, 514);
    EXPECT_EQ(lengths(100), full);
    EXPECT_EQ(lengths(0), full);
    EXPECT_EQ(lengths(200), full);
    const std::vector<uint16_t> p10 = lengths(10);  // 25700 / 640 = 40 per entry
    EXPECT_EQ(std::vector<uint16_t>(p10.begin(), p10.begin() + 4),
              (std::vector<uint16_t>{514, 474, 434, 394}));
    EXPECT_EQ(p10[12], 34);
    EXPECT_EQ(p10[13], 3);
    EXPECT_EQ(p10[63], 3);
    const std::vector<uint16_t> p50 = lengths(50);  // 25700 / 3200 = 8 per entry
    EXPECT_EQ(p50[1], 506);
    EXPECT_EQ(p50[63], 10);
    const std::vector<uint16_t> p1 = lengths(1);  // 25700 / 64 = 401, kept to 8 bits: 145
    EXPECT_EQ(std::vector<uint16_t>(p1.begin(), p1.begin() + 5),
              (std::vector<uint16_t>{514, 369, 224, 79, 3}));
}

TEST(OffsetTableAnalysis, PlanesTooSmallToSampleGetTheShortestDistances) {
    // Fewer than 2048 + columns bytes: no endless loop, no read before the start.
    FBCompressTables tables;
    for (uint32_t size : {0u, 1u, 100u, 2048u, 2049u, 2100u}) {
        const Bytes data = RandomPlane(size, 1, size);
        iFindXFXOffs(data.data(), 1, size, 10, &tables);
        if (size <= 2048) {
            EXPECT_EQ(Distances(tables), Multiples(1)) << size;
        }
        EXPECT_LE(-tables.xFX_rFXOffs[0], 2048);
    }
    // A 10-byte line: distances 1..64, all 10 bytes leading literals.
    CoderBuffers buffers(10, 1);
    const Bytes line = Text("ABABABABXY");
    EXPECT_EQ(XORFBB_BMP_Data_En(buffers.out.data(), line.data(), 10, 1, buffers.work.data(), 100, &tables),
              8u + 128u + 10u);
    EXPECT_EQ(LE32At(buffers.out, 4), 10u);
    EXPECT_TRUE(std::equal(line.begin(), line.end(), buffers.out.begin() + 136));
}

}  // namespace
