// Malformed display lists: none may crash, hang, read outside its chunk or
// write outside the band (the sanitizer build checks the memory; the guard
// bytes around the band check the writes in every build).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/display_list.h"
#include "playback_test_support.h"

namespace {

using playback_test::Band;
using playback_test::DL;
using Chunks = std::vector<std::vector<uint8_t>>;

// Plays the chunks on grey and colour pages, into the first, a middle and a
// last band, each chunk in a buffer of its exact size.
void PlayEverywhere(const Chunks& chunks, const std::string& name) {
    for (bool colour : {false, true}) {
        Band band(colour, 64, 16, 48);
        for (uint32_t top : {0u, 16u, 32u}) {
            band.Play(chunks, top);
            ASSERT_TRUE(band.GuardsIntact()) << name << (colour ? " colour" : " grey") << " band " << top;
        }
    }
}

// Palette (white, black) and a 32 x 32 checker pattern of a downloaded brush.
std::vector<uint8_t> TwoColourPattern() {
    std::vector<uint8_t> data = {0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0};
    for (int i = 0; i < 128; ++i) data.push_back((i / 4) % 2 ? 0xAA : 0x55);
    return data;
}

DL Origins(uint32_t row, uint32_t col) {
    DL d;
    d.Op(DL_SET_ROW_ORIGIN).U32(row).Op(DL_SET_COL_ORIGIN).U32(col);
    return d;
}

// Records of every kind drawn at the current position.
DL EveryDrawing() {
    DL d;
    d.Black().Box8(3, 9).Box16(0xFFFF, 0xFFFF).SpanEnd(0xFFFF).Op(DL_SPAN).Op(DL_SPAN);
    d.Op(DL_SPAN_STEP).U8(0x80).U8(0x7F).Height(0xFFFF).Op(DL_VSPAN).Op(DL_VSPAN);
    d.Glyph(200, 3, 70, std::vector<uint8_t>(3 * MaskStride(270), 0xA5));
    d.DefineBitmap(4095, 5, 40, std::vector<uint8_t>(5 * 8, 0x3C)).Op(DL_DRAW_BITMAP).U16(4095);
    d.Op(DL_LINE_TO).U16(0xFFFF).U16(0xFFFF).Op(DL_LINE_REL).U8(0x80).U8(0x80);
    d.Op(DL_FILL_PATH)
        .U16(20)
        .U8(2)
        .U8(0)
        .U32(0)
        .U32(0)
        .U32(0xFFFFFFFF)
        .U32(0xFFFFFFFF)
        .U32(1)
        .U32(2)
        .U32(0)
        .U32(0x7FFF7FFF);
    d.Op(DL_BLT_IMAGE).U8(0).U8(8).U8(0).U8(3).U16(1).U16(4).U16(0xFFFF).U16(0xFFFF).U32(0x01020304);
    return d;
}

TEST(MalformedDisplayList, RecordsTruncatedAtEveryLength) {
    // A complete record of each variable kind, cut after every byte.
    std::vector<DL> records;
    records.push_back(DL().DefineBitmap(7, 2, 9, std::vector<uint8_t>(8, 0xFF)));
    records.push_back(DL().Op(DL_DEFINE_BRUSH).U8(1).U32(4).Bytes(std::vector<uint8_t>(136, 0x55)));
    records.push_back(DL().Glyph(3, 2, 9, std::vector<uint8_t>(8, 0xFF)));
    DL image;
    image.Op(DL_STRETCH_IMAGE).U8(1).U8(1).U8(1).U8(2).U16(2).U16(7).U16(4).U16(9);
    image.Bytes(std::vector<uint8_t>(8 + 2 * 4, 0x81));
    records.push_back(image);
    DL path;
    path.Op(DL_SET_PATH).U16(22).U8(4).U8(0).U32(1).U32(1).U32(9).U32(9).U32(2).U32(3);
    path.Bytes(std::vector<uint8_t>(3 * 8 + 2 * 4, 0x01));
    records.push_back(path);
    records.push_back(DL().RopColour(0x5A, 0x85000003));
    records.push_back(DL().Op(DL_SET_HATCH).U32(0x85000005).U32(0xFF).U32(0xFF00));
    for (const DL& record : records) {
        const auto& bytes = record.bytes();
        for (size_t cut = 1; cut <= bytes.size(); ++cut) {
            std::vector<uint8_t> chunk(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
            PlayEverywhere({chunk, DL().At(1, 1).Glyph(0, 1, 8, {0xFF, 0, 0, 0}).bytes()},
                           "opcode " + std::to_string(bytes[0]) + " cut at " + std::to_string(cut));
        }
    }
}

TEST(MalformedDisplayList, NamedCorpus) {
    struct Case {
        std::string name;
        Chunks chunks;
    };
    std::vector<Case> corpus;
    corpus.push_back({"empty list", {}});
    corpus.push_back({"empty chunks", {{}, {}, {}}});
    corpus.push_back({"slot numbers out of range",
                      {DL().DefineBitmap(0xFFFF, 1, 8, {0xFF, 0, 0, 0})
                           .Op(DL_DRAW_BITMAP)
                           .U16(0xFFFF)
                           .Op(DL_DRAW_BITMAP)
                           .U16(4096)
                           .Op(DL_DEFINE_BRUSH)
                           .U8(1)
                           .U32(0xFFFFFFFF)
                           .Bytes(std::vector<uint8_t>(136, 0x0F))
                           .RopColour(0xF0, 0x910000FF)
                           .Box8(4, 4)
                           .RopColour(0xF0, 0x910000FE)
                           .Box8(4, 4)
                           .bytes()}});
    corpus.push_back({"glyph declaring 65535 x 65535",
                      {DL().Glyph(255, 0xFFFF, 0xFFFF, std::vector<uint8_t>(64, 0xFF)).bytes()}});
    corpus.push_back({"image running past its chunk",
                      {DL().Op(DL_BLT_IMAGE)
                           .U8(255)
                           .U8(24)
                           .U8(1)
                           .U8(3)
                           .U16(0xFFFF)
                           .U16(0xFFFF)
                           .U16(1)
                           .U16(1)
                           .Bytes(std::vector<uint8_t>(100, 0x55))
                           .bytes(),
                       DL().Op(DL_STRETCH_IMAGE).U8(0).U8(8).U8(1).U8(0).U16(1).U16(1).bytes()}});
    corpus.push_back({"path with huge counts",
                      {DL().Op(DL_FILL_PATH)
                           .U16(20)
                           .U8(4)
                           .U8(0)
                           .U32(0)
                           .U32(0)
                           .U32(5)
                           .U32(5)
                           .U32(0xFFFFFFFF)
                           .U32(0x40000000)
                           .bytes()}});
    corpus.push_back({"path whose subpath counts exceed its points",
                      {DL().Op(DL_FILL_PATH)
                           .U16(20)
                           .U8(2)
                           .U8(0)
                           .U32(0)
                           .U32(0)
                           .U32(50)
                           .U32(50)
                           .U32(2)
                           .U32(1)
                           .U32(0x00050005)
                           .U32(0x7FFFFFFF)
                           .U32(0x7FFFFFFF)
                           .Op(DL_PAINT_PATH)
                           .Op(DL_CLIP_MODE)
                           .U8(3)
                           .Glyph(0, 1, 8, {0xFF, 0, 0, 0})
                           .bytes()}});
    corpus.push_back(
        {"coordinates near 2^32",
         {Origins(0xFFFFFFF0, 0xFFFFFFF8).At(0xFFFF, 0xFFFF).Bytes(EveryDrawing().bytes()).bytes()}});
    corpus.push_back({"registers wrapping below zero",
                      {DL().Op(DL_MOVE_ROW)
                           .U8(0x80)
                           .Op(DL_MOVE_COL)
                           .U8(0x80)
                           .Op(DL_MOVE_SPAN_END)
                           .U8(0x80)
                           .Op(DL_MOVE_HEIGHT)
                           .U8(0x80)
                           .Bytes(EveryDrawing().bytes())
                           .bytes()}});
    corpus.push_back({"scale 0 / 0", {DL().Scale(0, 0).At(2, 2).Bytes(EveryDrawing().bytes()).bytes()}});
    corpus.push_back(
        {"scale with a huge numerator",
         {DL().Scale(1, 0xFFFFFFFF).At(2, 2).Bytes(EveryDrawing().bytes()).bytes(),
          DL().Scale(1, 200).At(0, 0).Glyph(0, 200, 300, std::vector<uint8_t>(200 * 40, 0x99)).bytes()}});
    corpus.push_back({"scale with a huge divisor",
                      {DL().Scale(0xFFFFFFFF, 1).At(2, 2).Bytes(EveryDrawing().bytes()).bytes()}});
    corpus.push_back(
        {"scale 3 / 7 on every drawing", {DL().Scale(3, 7).At(5, 5).Bytes(EveryDrawing().bytes()).bytes()}});
    corpus.push_back({"long runs of spans",
                      {DL().Black()
                           .SpanEnd(40)
                           .Height(3)
                           .Bytes(std::vector<uint8_t>(5000, DL_SPAN))
                           .Bytes(std::vector<uint8_t>(5000, DL_VSPAN))
                           .bytes()}});
    corpus.push_back({"clip mode and watermark around everything",
                      {DL().Op(DL_CLIP_MODE)
                           .U8(3)
                           .Op(DL_WATERMARK_BEGIN)
                           .At(3, 3)
                           .Bytes(EveryDrawing().bytes())
                           .Scale(2, 5)
                           .Bytes(EveryDrawing().bytes())
                           .Op(DL_CLIP_MODE)
                           .U8(7)
                           .bytes()}});
    for (const Case& c : corpus) PlayEverywhere(c.chunks, c.name);
}

TEST(MalformedDisplayList, ChunkWithoutDataOrWithReversedBoundsPlaysNothing) {
    Band band(false, 32, 4);
    RenderState& s = band.state();
    const DLChunk chunks[2] = {{nullptr, 1000}, {nullptr, 0}};
    s.page.displayList = chunks;
    s.page.displayListEnd = chunks + 2;
    RDInitializeBand(&s, 0, 0, 0, 31, 3);
    PlayFrameBuffer(&s, 0, 0);
    s.page.displayList = chunks + 2;
    s.page.displayListEnd = chunks;
    PlayFrameBuffer(&s, 0, 0);
    EXPECT_TRUE(band.AllWhite());
}

// Opcodes are more likely than other bytes, so that random lists reach deep
// into the interpreter.
std::vector<uint8_t> RandomList(std::mt19937& rng, size_t size) {
    static const uint8_t kOpcodes[] = {1,   2,   3,   4,   5,   64,  80,  81,  82,  83,  84,  85,
                                       86,  87,  96,  97,  98,  99,  100, 101, 102, 103, 104, 105,
                                       113, 115, 117, 128, 129, 130, 144, 145, 160, 161, 175};
    std::vector<uint8_t> list(size);
    for (auto& b : list) {
        const uint32_t r = rng();
        b = (r & 3) == 0 ? kOpcodes[(r >> 8) % sizeof(kOpcodes)] : static_cast<uint8_t>(r >> 16);
    }
    return list;
}

TEST(MalformedDisplayList, RandomBytes) {
    std::mt19937 rng(20240611);
    for (int i = 0; i < 150; ++i) {
        Chunks chunks = {RandomList(rng, 1 + rng() % 600), RandomList(rng, rng() % 200)};
        PlayEverywhere(chunks, "random list " + std::to_string(i));
    }
}

TEST(MalformedDisplayList, RandomMutationsOfAValidList) {
    DL valid;
    valid.Black().At(1, 1).Box8(2, 30).Scale(100, 150).At(4, 0).SpanEnd(20).Op(DL_SPAN).Op(DL_SPAN);
    valid.Glyph(3, 4, 12, std::vector<uint8_t>(16, 0x6B)).Scale(100, 100);
    valid.DefineBitmap(12, 3, 20, std::vector<uint8_t>(12, 0xF3)).At(8, 5).Op(DL_DRAW_BITMAP).U16(12);
    valid.Op(DL_DEFINE_BRUSH).U8(1).U32(2).Bytes(TwoColourPattern());
    valid.RopColour(0xF0, 0x91000002).At(10, 0).Box16(4, 60).RopColour(0xE2, 0x85000004);
    valid.At(12, 2).Glyph(0, 2, 9, std::vector<uint8_t>(8, 0xC3)).Op(DL_WATERMARK_BEGIN);
    valid.RopColour(0xF0, 0x81808080).At(14, 0).Box8(2, 50).Op(DL_WATERMARK_END);
    std::mt19937 rng(99);
    for (int i = 0; i < 300; ++i) {
        std::vector<uint8_t> list = valid.bytes();
        const uint32_t edits = 1 + rng() % 4;
        for (uint32_t e = 0; e < edits; ++e) {
            const size_t at = rng() % list.size();
            switch (rng() % 4) {
                case 0: list[at] = static_cast<uint8_t>(rng()); break;
                case 1: list[at] ^= static_cast<uint8_t>(1u << (rng() % 8)); break;
                case 2: list.resize(std::max<size_t>(1, at)); break;
                default:
                    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), static_cast<uint8_t>(rng()));
                    break;
            }
        }
        PlayEverywhere({list}, "mutation " + std::to_string(i));
    }
}

}  // namespace
