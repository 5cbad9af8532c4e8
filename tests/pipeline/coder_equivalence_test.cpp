// The LZW coder walks white runs in one step, a shortcut that must not change
// a byte. It is held against a plain coder written here straight from the
// format, on bands made to hit the shortcut's edges and on every band plane
// of the benchmark's pages as the library prints them.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "compression_planes.h"
#include "entry_points_test_support.h"
#include "job/scene.h"
#include "page_scenes.h"
#include "pipeline/lzw_coder.h"
#include "pipeline/transpose.h"

namespace {

// LZW as the format defines it: a string table keyed by (prefix code, byte),
// codes from 256 as strings are first met, no new strings after 4095, codes
// packed two to three bytes with a zero code padding an odd count. Gives up
// (kCompressGiveUp) when the packed codes pass three quarters of the input.
int32_t PlainLzw(const Bytes& in, Bytes* out) {
    out->clear();
    if (in.empty()) return 0;
    const size_t limit = 3 * in.size() / 4;
    std::unordered_map<uint32_t, uint16_t> table;
    table.reserve(4096);
    std::vector<uint16_t> codes;
    uint16_t next = kLzwFirstCode;
    uint16_t prefix = in[0];
    for (size_t i = 1; i < in.size(); ++i) {
        const uint32_t key = uint32_t{prefix} << 8 | in[i];
        if (const auto found = table.find(key); found != table.end()) {
            prefix = found->second;
            continue;
        }
        if (next <= kLzwLastCode) table.emplace(key, next++);
        codes.push_back(prefix);
        if (3 * (codes.size() / 2) > limit) return kCompressGiveUp;
        prefix = in[i];
    }
    codes.push_back(prefix);
    if (codes.size() % 2) codes.push_back(0);
    for (size_t i = 0; i < codes.size(); i += 2) {
        out->push_back(static_cast<uint8_t>(codes[i] >> 4));
        out->push_back(static_cast<uint8_t>((codes[i] & 0x0F) << 4 | codes[i + 1] >> 8));
        out->push_back(static_cast<uint8_t>(codes[i + 1]));
    }
    return static_cast<int32_t>(out->size());
}

// The library's coder on the same input: its result and its code stream.
int32_t LibraryLzw(const Bytes& in, Bytes* out) {
    std::vector<LzwHashSlot> hash(kLzwHashSlots);
    out->assign(3 * in.size() / 4 + 3, 0);
    const int32_t length = iCompress_LZW77(in.data(), in.data() + in.size(), out->data(), hash.data());
    out->resize(length > 0 ? static_cast<size_t>(length) : 0);
    return length;
}

// The plane as the band printer hands it to LZW: in byte columns.
Bytes Transposed(const Bytes& plane, uint32_t width, uint32_t lines) {
    if (width < 2 || lines < 2) return plane;
    Bytes columns(plane.size());
    iiTranspose(columns.data(), plane.data(), width, lines);
    return columns;
}

::testing::AssertionResult SameLzw(const Bytes& plane, uint32_t width, uint32_t lines) {
    const Bytes input = Transposed(plane, width, lines);
    Bytes plain, fast;
    const int32_t plainLength = PlainLzw(input, &plain);
    const int32_t fastLength = LibraryLzw(input, &fast);
    if (plainLength != fastLength)
        return ::testing::AssertionFailure() << "lengths " << fastLength << ", plain coder " << plainLength;
    for (size_t i = 0; i < plain.size(); ++i) {
        if (plain[i] != fast[i])
            return ::testing::AssertionFailure()
                   << "first different code byte at " << i << " of " << plain.size();
    }
    return ::testing::AssertionSuccess();
}

// White runs of every length from 1 to past the longest white string the
// table can hold, between runs of one other byte and single odd bytes: the
// run walk must stop where the plain coder's strings stop.
Bytes RunPlane(uint32_t width, uint32_t lines, uint32_t seed, uint32_t longestRun) {
    std::mt19937 rng(seed);
    Bytes plane;
    plane.reserve(size_t{width} * lines);
    while (plane.size() < size_t{width} * lines) {
        const uint32_t white = 1 + rng() % longestRun;
        plane.insert(plane.end(), white, 0xFF);
        switch (rng() % 3) {
            case 0: plane.push_back(static_cast<uint8_t>(rng())); break;
            case 1: plane.insert(plane.end(), 1 + rng() % 40, 0x00); break;
            default: plane.push_back(0xFE); break;
        }
    }
    plane.resize(size_t{width} * lines);
    return plane;
}

std::string ShapeName(const ::testing::TestParamInfo<BandShape>& shape) {
    return std::to_string(shape.param.resolution) + "dpi";
}

class LzwEquivalence : public ::testing::TestWithParam<BandShape> {};

TEST_P(LzwEquivalence, WhiteRunsOfEveryLengthCodeAsThePlainCoder) {
    const BandShape shape = GetParam();
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        for (uint32_t longest : {3u, 40u, 700u, 5000u}) {
            EXPECT_TRUE(SameLzw(RunPlane(shape.width, shape.lines, seed, longest), shape.width, shape.lines))
                << "seed " << seed << ", runs up to " << longest;
        }
    }
}

TEST_P(LzwEquivalence, WhiteAndNearlyWhiteBandsCodeAsThePlainCoder) {
    const BandShape shape = GetParam();
    // All white: the white strings fill the table and it freezes mid-run.
    EXPECT_TRUE(SameLzw(SolidPlane(shape.width, shape.lines, 0xFF), shape.width, shape.lines));
    EXPECT_TRUE(SameLzw(NearlyWhitePlane(shape.width, shape.lines, 5), shape.width, shape.lines));
    // Starting with a dot, then white; random bytes (gives up) for the limit.
    Bytes dotFirst = SolidPlane(shape.width, shape.lines, 0xFF);
    dotFirst[0] = 0x7F;
    EXPECT_TRUE(SameLzw(dotFirst, shape.width, shape.lines));
    EXPECT_TRUE(SameLzw(RandomPlane(shape.width, shape.lines, 9), shape.width, shape.lines));
    EXPECT_TRUE(SameLzw(Bytes(1, 0xFF), 1, 1));
    EXPECT_TRUE(SameLzw(Bytes(2, 0xFF), 2, 1));
}

INSTANTIATE_TEST_SUITE_P(BandShapes, LzwEquivalence, ::testing::ValuesIn(kBandShapes), ShapeName);

// The band planes of one printed job, cut from its decoded pages.
struct BandPlane {
    Bytes bytes;
    uint32_t width = 0;  // bytes per line
    uint32_t lines = 0;
    std::string where;
};

std::vector<BandPlane> PrintedBandPlanes(const DecodedJob& job) {
    std::vector<BandPlane> planes;
    for (size_t p = 0; p < job.pages.size(); ++p) {
        const DecodedPage& page = job.pages[p];
        for (const DecodedBand& band : page.bands) {
            for (const DecodedPlaneRecord& record : band.planes) {
                const PagePlane& plane = page.Plane(record.planeId);
                if (!plane.Allocated() || band.firstLine >= plane.height) continue;
                BandPlane cut;
                cut.width = plane.stride;
                cut.lines = std::min(band.lines, plane.height - band.firstLine);
                const auto from =
                    plane.bits.begin() + static_cast<ptrdiff_t>(size_t{band.firstLine} * plane.stride);
                cut.bytes.assign(from, from + static_cast<ptrdiff_t>(size_t{cut.lines} * cut.width));
                cut.where = "page " + std::to_string(p + 1) + " band " + std::to_string(band.index) +
                            " plane " + std::to_string(record.planeId);
                planes.push_back(std::move(cut));
            }
        }
    }
    return planes;
}

class BenchmarkPageCoders : public entry_test::EntryPointTest,
                            public ::testing::WithParamInterface<PageKind> {};

TEST_P(BenchmarkPageCoders, EveryBandPlaneCodesAsThePlainCoder) {
    SpoolJob spool;
    std::string error;
    ASSERT_TRUE(ComposeScene(PageScene(GetParam().name, 1), SceneOptions{}, &spool, &error)) << error;
    const entry_test::SpoolRun run = entry_test::RunJob(temp_, spool);
    ASSERT_TRUE(run.decoded) << run.error;
    const std::vector<BandPlane> planes = PrintedBandPlanes(run.job);
    ASSERT_FALSE(planes.empty());
    for (const BandPlane& plane : planes)
        EXPECT_TRUE(SameLzw(plane.bytes, plane.width, plane.lines)) << plane.where;
}

INSTANTIATE_TEST_SUITE_P(Pages, BenchmarkPageCoders, ::testing::ValuesIn(PageKinds()), [](const auto& page) {
    std::string name = page.param.name;
    for (char& c : name)
        if (c == '-') c = '_';
    return name;
});

}  // namespace
