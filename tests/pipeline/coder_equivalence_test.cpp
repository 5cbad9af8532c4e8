// The coders take shortcuts that must not change a byte: LZW takes a run of
// equal bytes in one step down a chain of strings, the offset-table
// coder settles literals a block at a time and counts the analysis's repeats
// word-wide. Both are held against plain coders written straight from the
// format (plain_coders.h), on bands made to hit the shortcuts' edges and on
// every band plane of the benchmark's pages as the library prints them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "compression_planes.h"
#include "entry_points_test_support.h"
#include "job/scene.h"
#include "page_scenes.h"
#include "pipeline/band_compressor.h"
#include "pipeline/lzw_coder.h"
#include "pipeline/offset_table_coder.h"
#include "pipeline/offset_table_coder_blocks.h"
#include "pipeline/offset_table_coder_search.h"
#include "plain_coders.h"

namespace {

// The first difference of two blocks, or success when they are the same.
::testing::AssertionResult SameBlock(const Bytes& library, const Bytes& plain) {
    if (library == plain) return ::testing::AssertionSuccess();
    size_t at = 0;
    while (at < library.size() && at < plain.size() && library[at] == plain[at]) ++at;
    return ::testing::AssertionFailure() << "blocks of " << library.size() << " and (plain coder) "
                                         << plain.size() << " bytes differ from byte " << at;
}

// The library's LZW block of a plane, transposed as the band printer asks.
Bytes LibraryLzwBlock(const Bytes& plane, uint32_t width, uint32_t lines) {
    CoderBuffers buffers(width, lines);
    const uint32_t size =
        XORLZW77_BMP_Data_En(buffers.out.data(), plane.data(), width, lines, buffers.work.data(), true);
    buffers.out.resize(size);
    return buffers.out;
}

::testing::AssertionResult SameLzw(const Bytes& plane, uint32_t width, uint32_t lines) {
    return SameBlock(LibraryLzwBlock(plane, width, lines), PlainLzwBlock(plane, width, lines));
}

// One page's worth of offset-table blocks: both coders keep their tables
// from band to band, as the band printer does.
class OffsetTablePair {
public:
    ::testing::AssertionResult Same(const Bytes& plane, uint32_t width, uint32_t lines, uint8_t parameter) {
        CoderBuffers buffers(width, lines);
        const uint32_t size = XORFBB_BMP_Data_En(buffers.out.data(), plane.data(), width, lines,
                                                 buffers.work.data(), parameter, &library_);
        buffers.out.resize(size);
        return SameBlock(buffers.out, PlainOffsetTableBlock(plane, width, lines, parameter, &plain_));
    }

    // Both coders take these tables as if an earlier band had built them.
    void Give(const std::array<uint32_t, 64>& distances, const std::array<uint32_t, 64>& maxCounts) {
        for (int k = 0; k < kFBBDistanceCount; ++k) {
            library_.xFX_rFXOffs[k] = -static_cast<int32_t>(distances[k]);
            library_.xFX_MaxMatchCnts[k] = static_cast<uint16_t>(maxCounts[k]);
        }
        plain_ = {distances, maxCounts, true};
    }

private:
    FBCompressTables library_;
    PlainOffsetTables plain_;
};

// White runs of every length from 1 to past the longest white string the
// table can hold, between runs of other bytes (alone or behind an odd byte)
// and single odd bytes: the run walks must stop where the plain coder's
// strings stop.
Bytes RunPlane(uint32_t width, uint32_t lines, uint32_t seed, uint32_t longestRun) {
    static constexpr uint8_t kRunBytes[] = {0x00, 0x3F, 0xFC, 0x81};
    std::mt19937 rng(seed);
    Bytes plane;
    plane.reserve(size_t{width} * lines);
    while (plane.size() < size_t{width} * lines) {
        const uint32_t white = 1 + rng() % longestRun;
        plane.insert(plane.end(), white, 0xFF);
        switch (rng() % 4) {
            case 0: plane.push_back(static_cast<uint8_t>(rng())); break;
            case 1: plane.insert(plane.end(), 1 + rng() % 40, kRunBytes[rng() % 4]); break;
            case 2:
                plane.push_back(kRunBytes[rng() % 4]);
                plane.insert(plane.end(), 1 + rng() % 40, kRunBytes[rng() % 4]);
                break;
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

// Short inputs of few symbols end near the give-up limit with odd and even
// code counts: the coder must give up exactly where the plain one does.
TEST(LzwEquivalenceShort, GivesUpWhereThePlainCoderDoes) {
    std::mt19937 rng(21);
    for (uint32_t size = 1; size <= 96; ++size) {
        for (uint32_t symbols : {2u, 5u, 40u}) {
            Bytes plane(size);
            for (uint8_t& b : plane) b = static_cast<uint8_t>(rng() % symbols);
            EXPECT_TRUE(SameLzw(plane, size, 1)) << size << " bytes of " << symbols << " symbols";
        }
    }
}

// Runs of a few bytes, of up to thousands of bytes, coded untransposed (one
// line): a run outlasts the strings the dictionary has for it again and
// again, runs cross the blocks in which the coder looks for where runs
// start, and the longer inputs fill the dictionary mid-run.
TEST(LzwEquivalenceRuns, LongRunsCodeAsThePlainCoder) {
    static constexpr uint8_t kBytes[] = {0xFF, 0x00, 0x0F, 0xF0, 0x81, 0xFE};
    std::mt19937 rng(5);
    for (uint32_t longest : {9u, 300u, 3000u}) {
        for (uint32_t size : {5000u, 60000u}) {
            Bytes plane;
            while (plane.size() < size) plane.insert(plane.end(), 1 + rng() % longest, kBytes[rng() % 6]);
            plane.resize(size);
            EXPECT_TRUE(SameLzw(plane, size, 1)) << size << " bytes in runs up to " << longest;
        }
    }
}

// Bytes that repeat two of three bytes at many distances but rarely three:
// each position passes the first-byte test of many distances and fails later.
Bytes NearMissPlane(uint32_t width, uint32_t lines, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes plane(size_t{width} * lines);
    for (size_t i = 0; i < plane.size(); ++i) {
        const uint32_t r = rng();
        plane[i] = (i % 3 == 2) ? static_cast<uint8_t>(r) : static_cast<uint8_t>(r % 2 ? 0xFF : 0x00);
    }
    return plane;
}

// Literal runs of random length between copies of random length and
// distance: every length of literal run the block test meets, ending at
// every position within a block.
Bytes MixedPlane(uint32_t width, uint32_t lines, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes plane;
    const size_t size = size_t{width} * lines;
    while (plane.size() < size) {
        const uint32_t literals = rng() % 40;
        for (uint32_t i = 0; i < literals; ++i) plane.push_back(static_cast<uint8_t>(rng()));
        const size_t distance = 1 + rng() % 300;
        const uint32_t copy = rng() % 600;
        for (uint32_t i = 0; i < copy && distance <= plane.size(); ++i)
            plane.push_back(plane[plane.size() - distance]);
    }
    plane.resize(size);
    return plane;
}

// Every kind of band at once, coded band after band with the parameters a
// page gives its bands: fresh analyses and tables kept from the band before.
class OffsetTableEquivalence : public ::testing::TestWithParam<BandShape> {
protected:
    std::vector<std::pair<std::string, Bytes>> Bands() const {
        const BandShape s = GetParam();
        return {{"dither 20", DitherPlane(s.width, s.lines, 20)},
                {"random", RandomPlane(s.width, s.lines, 3)},
                {"near misses", NearMissPlane(s.width, s.lines, 4)},
                {"mixed", MixedPlane(s.width, s.lines, 5)},
                {"white", SolidPlane(s.width, s.lines, 0xFF)},
                {"nearly white", NearlyWhitePlane(s.width, s.lines, 6)},
                {"black", SolidPlane(s.width, s.lines, 0x00)},
                {"white runs", RunPlane(s.width, s.lines, 7, 700)},
                {"mixed again", MixedPlane(s.width, s.lines, 8)},
                {"dither 45", DitherPlane(s.width, s.lines, 45)}};
    }
};

TEST_P(OffsetTableEquivalence, BandAfterBandCodesAsThePlainCoder) {
    const BandShape shape = GetParam();
    const auto bands = Bands();
    for (const uint8_t first : {uint8_t{10}, uint8_t{100}, uint8_t{1}}) {
        OffsetTablePair coders;
        for (uint32_t i = 0; i < bands.size(); ++i) {
            const uint8_t parameter = i == 0 ? first : FBCompressParameter(i, 100, shape.resolution);
            EXPECT_TRUE(coders.Same(bands[i].second, shape.width, shape.lines, parameter))
                << bands[i].first << ", parameter " << int{parameter};
        }
    }
}

TEST_P(OffsetTableEquivalence, TablesOfEveryKindCodeAsThePlainCoder) {
    // Tables no analysis makes: repeated distances, the farthest first, and
    // copy lengths below three (a one-byte repetition then ends the search).
    const BandShape shape = GetParam();
    std::array<uint32_t, 64> distances{}, lengths{};
    for (int k = 0; k < 64; ++k) {
        distances[k] = k % 2 ? 2048u - static_cast<uint32_t>(k) : 1u + static_cast<uint32_t>(k % 5) * 64u;
        lengths[k] = 1 + static_cast<uint32_t>(k) * 37 % 520;
    }
    const Bytes bands[] = {MixedPlane(shape.width, shape.lines, 11),
                           NearMissPlane(shape.width, shape.lines, 12),
                           DitherPlane(shape.width, shape.lines, 30)};
    for (const Bytes& band : bands) {
        OffsetTablePair coders;
        coders.Give(distances, lengths);
        EXPECT_TRUE(coders.Same(band, shape.width, shape.lines, 0));
    }
}

TEST(OffsetTableShapes, OddShapesCodeAsThePlainCoder) {
    // Single lines and columns (not transposed), planes that end inside a
    // block of the literal test, planes smaller than the distances.
    const std::pair<uint32_t, uint32_t> shapes[] = {{1, 3000}, {3000, 1}, {7, 3}, {33, 70},
                                                    {5, 411},  {308, 7},  {1, 1}, {2, 2}};
    for (const auto& [width, lines] : shapes) {
        OffsetTablePair coders;
        for (uint32_t seed = 1; seed <= 3; ++seed) {
            EXPECT_TRUE(coders.Same(MixedPlane(width, lines, seed), width, lines, seed == 2 ? 0 : 10))
                << width << " x " << lines << ", seed " << seed;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BandShapes, OffsetTableEquivalence, ::testing::ValuesIn(kBandShapes), ShapeName);

// The copy search's block test exists twice, word-wide and with SSE2 (run
// only where the processor has it, chosen once per process). Each is held
// against the definition, three equal bytes at the distance, and the copy
// search built on each against the search in table order, on the same
// planes and tables, in both builds.
struct BlockTestPath {
    const char* name;
    FBBlockTest test;
    bool (*runs)();
};

const BlockTestPath kBlockTestPaths[] = {
    {"Words", FBBlockTestWords, [] { return true; }},
#if ZEBL_CODER_SSE2
    {"Sse2", FBBlockTestSse2, FBBlockTestSse2Runs},
    {"Avx2", FBBlockTestAvx2, FBBlockTestAvx2Runs},
#endif
};

// Distance tables the coder meets: the analysis's kind (short distances,
// each once), repeated and unused entries, and distances longer than the
// start of the data reaches.
std::array<uint32_t, 64> DistanceTable(uint32_t kind) {
    std::array<uint32_t, 64> distances{};
    for (uint32_t k = 0; k < 64; ++k) {
        switch (kind) {
            case 0: distances[k] = 1 + k; break;
            case 1: distances[k] = k % 3 == 0 ? 0 : 1 + (k * 37) % 300; break;
            default: distances[k] = k % 2 ? 2048 - k : 1 + (k % 5) * 64; break;
        }
    }
    return distances;
}

class BlockTestEquivalence : public ::testing::TestWithParam<BlockTestPath> {
protected:
    void SetUp() override {
        if (!GetParam().runs())
            GTEST_SKIP() << "this processor does not run the " << GetParam().name << " path";
    }
    static std::vector<Bytes> Planes() {
        return {MixedPlane(620, 16, 21), NearMissPlane(620, 16, 22), DitherPlane(620, 16, 23),
                RunPlane(620, 16, 24, 700), SolidPlane(620, 16, 0x00)};
    }
};

TEST_P(BlockTestEquivalence, SetsExactlyTheDistancesThatRepeatThreeBytes) {
    for (const Bytes& plane : Planes()) {
        for (uint32_t kind = 0; kind < 3; ++kind) {
            const auto distances = DistanceTable(kind);
            const bool allUsed = std::find(distances.begin(), distances.end(), 0u) == distances.end();
            for (size_t pos = 1; pos + kFBBlockPositions + 2 <= plane.size(); pos += 7) {
                const bool allReach = allUsed && *std::max_element(distances.begin(), distances.end()) <= pos;
                uint64_t candidates[kFBBlockPositions];
                GetParam().test(plane.data() + pos, distances.data(), pos, allReach, candidates);
                for (uint32_t i = 0; i < kFBBlockPositions; ++i) {
                    uint64_t expected = 0;
                    for (uint32_t k = 0; k < 64; ++k) {
                        const uint32_t d = distances[k];
                        if (d == 0 || d > pos) continue;
                        const uint8_t* at = plane.data() + pos + i;
                        if (at[0] == at[-int64_t{d}] && at[1] == at[1 - int64_t{d}] &&
                            at[2] == at[2 - int64_t{d}])
                            expected |= uint64_t{1} << k;
                    }
                    ASSERT_EQ(candidates[i], expected) << "kind " << kind << ", position " << pos + i;
                }
            }
        }
    }
}

TEST_P(BlockTestEquivalence, TheCopySearchChoosesAsTheSearchInTableOrder) {
    std::array<uint16_t, 64> maxCounts{};
    for (uint32_t k = 0; k < 64; ++k) maxCounts[k] = static_cast<uint16_t>(3 + (k * 53) % 512);
    for (const Bytes& plane : Planes()) {
        for (uint32_t kind = 0; kind < 3; ++kind) {
            const auto distances = DistanceTable(kind);
            FBCopySearch search(plane.data(), plane.size(), distances.data(), maxCounts.data(),
                                GetParam().test);
            bool afterLiteral = false;
            for (size_t pos = 0; pos + kFBBMinCopy <= plane.size();) {
                const uint32_t maxLength =
                    static_cast<uint32_t>(std::min<size_t>(plane.size() - pos, kFBBMaxCopy));
                const FBCopyChoice found = search.Find(pos, maxLength, afterLiteral);
                const FBCopyChoice expected =
                    FBFindCopyInOrder(plane.data(), pos, maxLength, distances.data(), maxCounts.data());
                const bool isCopy = expected.length >= kFBBMinCopy;
                ASSERT_EQ(found.length >= kFBBMinCopy, isCopy) << "kind " << kind << ", position " << pos;
                if (isCopy) {
                    ASSERT_EQ(found.length, expected.length) << "kind " << kind << ", position " << pos;
                    ASSERT_EQ(found.index, expected.index) << "kind " << kind << ", position " << pos;
                }
                pos += isCopy ? expected.length : 1;
                afterLiteral = !isCopy;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, BlockTestEquivalence, ::testing::ValuesIn(kBlockTestPaths),
                         [](const auto& path) { return std::string(path.param.name); });

TEST(BlockTestChoice, TakesTheWidestVectorPathThatRuns) {
#if ZEBL_CODER_SSE2
    const FBBlockTest expected = FBBlockTestAvx2Runs()   ? FBBlockTestAvx2
                                 : FBBlockTestSse2Runs() ? FBBlockTestSse2
                                                         : FBBlockTestWords;
    EXPECT_EQ(FBChosenBlockTest(), expected);
#else
    EXPECT_EQ(FBChosenBlockTest(), FBBlockTestWords);
#endif
}

// The band planes of one printed job, cut from its decoded pages.
struct BandPlane {
    Bytes bytes;
    uint32_t index = 0;      // band number in the page
    uint32_t bandCount = 0;  // bands in the page
    uint32_t width = 0;      // bytes per line
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
                cut.index = band.index;
                cut.bandCount = static_cast<uint32_t>(page.bands.size());
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
    OffsetTablePair offsetTable;
    for (const BandPlane& plane : planes) {
        EXPECT_TRUE(SameLzw(plane.bytes, plane.width, plane.lines)) << plane.where;
        const uint8_t parameter = FBCompressParameter(plane.index, plane.bandCount, 600);
        EXPECT_TRUE(offsetTable.Same(plane.bytes, plane.width, plane.lines, parameter)) << plane.where;
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, BenchmarkPageCoders, ::testing::ValuesIn(PageKinds()), [](const auto& page) {
    std::string name = page.param.name;
    for (char& c : name)
        if (c == '-') c = '_';
    return name;
});

}  // namespace
