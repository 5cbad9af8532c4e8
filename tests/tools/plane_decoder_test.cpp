// The printer-side decoders on hand-made blocks, on every kind of damage a
// block can have, and on truncated and random bytes (run this under the
// sanitizers: nothing may be read outside the block).
#include "decode/plane_decoder.h"

#include <gtest/gtest.h>

#include "pipeline/band_compressor.h"
#include "pipeline/compression_planes.h"

namespace {

struct Result {
    bool ok;
    Bytes plane;
    std::string error;
};

Result Decode(uint8_t code, const Bytes& block, uint32_t width, uint32_t lines) {
    Result r;
    r.ok = DecodePlane(code, block.data(), block.size(), width, lines, &r.plane, &r.error);
    return r;
}

Bytes Lzw(uint32_t magic, uint32_t length, const Bytes& codes) {
    Bytes b(8);
    PutLE32(b.data(), magic);
    PutLE32(b.data() + 4, length);
    b.insert(b.end(), codes.begin(), codes.end());
    return b;
}

// An offset-table block whose table holds `distance` in every slot but slot 1 (= 0).
Bytes Table(uint32_t leading, uint16_t distance, const Bytes& rest) {
    Bytes b(8);
    PutLE32(b.data(), 0x09ABCDEF);
    PutLE32(b.data() + 4, leading);
    for (int k = 0; k < 64; ++k) {
        const uint16_t d = k == 1 ? 0 : distance;
        b.insert(b.end(), {static_cast<uint8_t>(d), static_cast<uint8_t>(d >> 8)});
    }
    b.insert(b.end(), rest.begin(), rest.end());
    return b;
}

void ExpectRejected(const Result& r, const std::string& where, const std::string& what) {
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find(where), std::string::npos) << r.error;
    EXPECT_NE(r.error.find(what), std::string::npos) << r.error;
}

TEST(PlaneDecoder, HandMadeBlocks) {
    // Columns "AAAA", "BBBB" from codes 041 100 041 042 103 042 -> four lines "AB".
    Result r = Decode(kCompressLzw,
                      Lzw(0x29ABCDEF, 9, {0x04, 0x11, 0x00, 0x04, 0x10, 0x42, 0x10, 0x30, 0x42}), 2, 4);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.plane, Text("ABABABAB"));
    // Odd code count: the zero pad is not a byte of the plane.
    r = Decode(kCompressLzw, Lzw(0x19ABCDEF, 3, {0x04, 0x10, 0x00}), 1, 1);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.plane, Text("A"));
    // Offset table, one line: L = 2 "xy", copy 5 from distance 2 (overlapping),
    // run "z": "xyxyxyxz".
    r = Decode(kCompressOffsetTable, Table(2, 2, {'x', 'y', 0x82, 0x00, 0x00, 'z'}), 8, 1);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.plane, Text("xyxyxyxz"));
    // The same bytes as two lines of four are columns: "xy", "xy", "xy", "xz".
    r = Decode(kCompressOffsetTable, Table(2, 2, {'x', 'y', 0x82, 0x00, 0x00, 'z'}), 4, 2);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.plane, Text("xxxxyyyz"));
    // Raw forms are rows whatever the magic says.
    r = Decode(kCompressLzw, Lzw(0x29ABCDEF, 0xFFFFFFFF, Text("abcd")), 2, 2);
    EXPECT_EQ(r.plane, Text("abcd"));
    r = Decode(kCompressOffsetTable, Lzw(0x09ABCDEF, 0xFFFFFFFF, Text("abcd")), 2, 2);
    EXPECT_EQ(r.plane, Text("abcd"));
    r = Decode(kCompressRaw, Text("abcd"), 2, 2);
    EXPECT_EQ(r.plane, Text("abcd"));
}

TEST(PlaneDecoder, RejectsDamagedLzwBlocks) {
    ExpectRejected(Decode(kCompressLzw, Bytes{0xEF, 0xCD, 0xAB}, 1, 1), "byte 0", "shorter than");
    ExpectRejected(Decode(kCompressLzw, Lzw(0x39ABCDEF, 3, {0x04, 0x10, 0x00}), 1, 1), "byte 0", "magic");
    ExpectRejected(Decode(kCompressLzw, Lzw(0x19ABCDEF, 6, {0x04, 0x10, 0x00}), 1, 1), "byte 4", "follow");
    ExpectRejected(Decode(kCompressLzw, Lzw(0x19ABCDEF, 2, {0x04, 0x10}), 1, 1), "byte 4", "3-byte");
    ExpectRejected(Decode(kCompressLzw, Lzw(0x19ABCDEF, 0xFFFFFFFF, Text("abc")), 2, 2), "byte 8",
                   "raw form");
    // First code 257: nothing defined yet.
    ExpectRejected(Decode(kCompressLzw, Lzw(0x19ABCDEF, 3, {0x10, 0x10, 0x00}), 2, 1), "byte 8",
                   "not defined");
    // Second code 258 while 256 is next.
    ExpectRejected(Decode(kCompressLzw, Lzw(0x19ABCDEF, 3, {0x04, 0x11, 0x02}), 3, 1), "byte 9",
                   "not defined");
    // Code 256 = "AA" but only one byte is left.
    ExpectRejected(Decode(kCompressLzw, Lzw(0x19ABCDEF, 3, {0x04, 0x11, 0x00}), 2, 1), "byte 9",
                   "past the plane end");
    // A non-zero code after the last plane byte, and a stream that stops short.
    ExpectRejected(Decode(kCompressLzw, Lzw(0x19ABCDEF, 3, {0x04, 0x10, 0x41}), 1, 1), "byte 9",
                   "after the plane");
    ExpectRejected(Decode(kCompressLzw, Lzw(0x19ABCDEF, 3, {0x04, 0x10, 0x41}), 3, 1), "byte 11",
                   "ends after 2 of 3");
    ExpectRejected(Decode(kCompressLzw, Lzw(0x19ABCDEF, 0, {}), 1, 1), "byte 8", "0 codes cannot make");
}

TEST(PlaneDecoder, RejectsDamagedOffsetTableBlocks) {
    EXPECT_TRUE(Decode(kCompressOffsetTable, Table(2, 2, {'x', 'y'}), 2, 1).ok);
    ExpectRejected(Decode(kCompressOffsetTable, Lzw(0x19ABCDEF, 0, {}), 1, 1), "byte 0", "magic");
    ExpectRejected(Decode(kCompressOffsetTable, Table(129, 2, Bytes(140, 0)), 200, 1), "byte 4", "leading");
    ExpectRejected(Decode(kCompressOffsetTable, Table(4, 2, Text("abcd")), 3, 1), "byte 4", "leading");
    const Bytes whole = Table(0, 2, {});
    ExpectRejected(Decode(kCompressOffsetTable, Bytes(whole.begin(), whole.begin() + 70), 1, 1), "byte 70",
                   "distance table");
    ExpectRejected(Decode(kCompressOffsetTable, Table(2, 2, {'x'}), 2, 1), "byte 136", "leading literals");
    // Copy from distance 3 at plane byte 2 (one byte too far); from slot 1, which holds 0.
    ExpectRejected(Decode(kCompressOffsetTable, Table(2, 3, {'x', 'y', 0x80, 0x00}), 5, 1), "byte 138",
                   "before the plane start");
    ExpectRejected(Decode(kCompressOffsetTable, Table(2, 2, {'x', 'y', 0x80, 0x01}), 5, 1), "byte 138",
                   "holds 0");
    // Copy of 4 or a run of 3 where 3 bytes are left; runs and copies cut short.
    ExpectRejected(Decode(kCompressOffsetTable, Table(2, 2, {'x', 'y', 0x81, 0x00}), 5, 1), "byte 138",
                   "passes the end");
    ExpectRejected(Decode(kCompressOffsetTable, Table(2, 2, {'x', 'y', 0x02, 'a', 'b', 'c'}), 4, 1),
                   "byte 138", "passes the end");
    ExpectRejected(Decode(kCompressOffsetTable, Table(2, 2, {'x', 'y', 0x02, 'a'}), 5, 1), "byte 138",
                   "inside a literal run");
    ExpectRejected(Decode(kCompressOffsetTable, Table(2, 2, {'x', 'y', 0x80}), 3, 1), "byte 138",
                   "inside a copy");
    ExpectRejected(Decode(kCompressOffsetTable, Table(2, 2, {'x', 'y', 0x80, 0x00}), 6, 1), "byte 140",
                   "ends at plane byte 5");
    ExpectRejected(Decode(kCompressOffsetTable, Table(2, 2, {'x', 'y', 0x00, 'z'}), 2, 1), "byte 138",
                   "follow the complete plane");
}

TEST(PlaneDecoder, RejectsWrongCodesAndSizes) {
    ExpectRejected(Decode(kCompressRaw, Text("abc"), 2, 2), "byte 0", "3 bytes for a plane of 4");
    ExpectRejected(Decode(0x13, Text("abcd"), 2, 2), "", "unknown compression code 0x13");
    ExpectRejected(Decode(kCompressRaw, Text("abcd"), 60000, 60000), "", "larger than any band");
    // A few bytes cannot claim a huge plane: refused before anything is allocated.
    ExpectRejected(Decode(kCompressLzw, Lzw(0x19ABCDEF, 3, {0x04, 0x10, 0x00}), 8000, 8000), "byte 8",
                   "cannot make");
    ExpectRejected(Decode(kCompressOffsetTable, Table(0, 1, {0x80, 0x00}), 8000, 8000), "byte 136",
                   "cannot make");
}

// Valid blocks of both coders for a small band and its damage.
std::vector<std::pair<uint8_t, Bytes>> SampleBlocks() {
    std::vector<std::pair<uint8_t, Bytes>> blocks;
    const Bytes planes[] = {DitherPlane(40, 64, 20), NearlyWhitePlane(40, 64, 9), SolidPlane(40, 64, 0)};
    for (const Bytes& plane : planes) {
        for (bool objectFlag : {true, false}) {
            CoderBuffers buffers(40, 64);
            FBCompressTables tables;
            uint8_t code = 0;
            const uint32_t size = CompressOneBand(buffers.out.data(), plane.data(), 0, 1, 64, 40,
                                                  buffers.work.data(), &code, 600, objectFlag, &tables);
            blocks.emplace_back(code, Bytes(buffers.out.begin(), buffers.out.begin() + size));
        }
    }
    return blocks;
}

TEST(PlaneDecoder, EveryTruncationIsRejectedWithAReason) {
    for (const auto& [code, block] : SampleBlocks()) {
        ASSERT_TRUE(Decode(code, block, 40, 64).ok);
        for (size_t length = 0; length < block.size(); ++length) {
            // Exact-size copies, so the sanitizer sees any read past the end.
            const Bytes cut(block.begin(), block.begin() + static_cast<ptrdiff_t>(length));
            const Result r = Decode(code, cut, 40, 64);
            EXPECT_FALSE(r.ok) << "code " << int{code} << " cut to " << length;
            EXPECT_NE(r.error.find("byte "), std::string::npos) << r.error;
        }
    }
}

TEST(PlaneDecoder, CorruptedAndRandomBytesNeverCrash) {
    std::mt19937 rng(42);
    size_t accepted = 0, rejected = 0;
    auto tally = [&](const Result& r, size_t planeBytes) {
        if (r.ok) {
            EXPECT_EQ(r.plane.size(), planeBytes);
            ++accepted;
        } else {
            EXPECT_FALSE(r.error.empty());
            ++rejected;
        }
    };
    for (const auto& [code, block] : SampleBlocks()) {
        for (int i = 0; i < 300; ++i) {
            Bytes damaged = block;
            damaged[rng() % damaged.size()] ^= static_cast<uint8_t>(1 + rng() % 255);
            tally(Decode(code, damaged, 40, 64), 40 * 64);
        }
    }
    for (int i = 0; i < 2000; ++i) {
        const bool withHeader = i % 2 == 1;
        Bytes garbage = RandomPlane((withHeader ? 8 : 1) + rng() % 400, 1, static_cast<uint32_t>(i));
        if (withHeader) PutLE32(garbage.data(), i % 4 == 1 ? 0x09ABCDEF : 0x29ABCDEF);  // past the magic
        if (i % 8 == 1) PutLE32(garbage.data() + 4, static_cast<uint32_t>(rng() % 129));
        const uint8_t code = i % 4 == 1 ? kCompressOffsetTable : kCompressLzw;
        const uint32_t width = 1 + rng() % 32, lines = 1 + rng() % 32;
        tally(Decode(code, garbage, width, lines), size_t{width} * lines);
    }
    EXPECT_GT(rejected, 2000u);
    EXPECT_GT(accepted, 0u);  // some corruptions only change pixels
}

}  // namespace
