// A long text job at 600 dpi: every page's display list is freed at its end
// and the band buffers of the first page serve all the others, so what the
// library holds does not grow with the number of pages. The test reports
// the most the document's context held at a page end (and, where the system
// tells, the process's peak memory).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "pipeline/entry_points_test_support.h"

namespace {

using entry_test::EntryPointTest;
using entry_test::Spooler;
using entry_test::SpoolRun;

// Bytes the context holds between pages: band buffers, the output band, the
// rendering state's row flags and the page's command list.
uint64_t HeldBytes(const FBContext& context) {
    uint64_t bytes = 0;
    for (const auto& buffer : context.cache.buffers.buffers) bytes += buffer.capacity();
    bytes += context.cache.outputBand.capacity() + context.cache.outputRowFlags.capacity();
    if (context.cache.renderState) bytes += context.cache.renderState->window.rowFlags.capacity();
    if (context.cache.band) bytes += context.cache.band->raster.doubledRows.capacity();
    if (context.cmdList) {
        for (const FBCmdBuffer& buffer : context.cmdList->buffers) bytes += buffer.capacity;
    }
    return bytes;
}

// The process's peak resident memory in KiB, where /proc tells it.
long PeakResidentKiB() {
#if defined(_WIN32)
    return -1;  // a Windows build under Wine would read the host's files
#endif
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

// One page of text: 60 lines of 70 characters in the bitmap font, enlarged
// 4 times (a 10-point-like text at 600 dpi).
DLWriter TextPage(int page) {
    DLWriter list;
    list.SetRopColour(0x88, 0x81000000);  // glyphs: S AND D, black
    for (int line = 0; line < 60; ++line) {
        std::string text = "Page " + std::to_string(page) + " line " + std::to_string(line) + ": ";
        while (text.size() < 70) text += "the quick brown fox jumps over the lazy dog ";
        text.resize(70);
        for (const PlacedGlyph& glyph : LayOutText(text, 200, 200 + line * 11 * 4 * 2, 4)) {
            list.SetRow(static_cast<uint16_t>(glyph.y));
            list.SetColumn(static_cast<uint16_t>(glyph.x));
            list.Glyph(0, glyph.bitmap.rows, glyph.bitmap.width, glyph.bitmap.bits);
        }
    }
    return list;
}

class TextJobMemory : public EntryPointTest {};

TEST_F(TextJobMemory, FiftyPagesAt600DpiHoldNoMoreThanTheFirst) {
    constexpr int kPages = 50;
    JobSettings settings;  // A4 at 600 dpi, grey
    SpoolJobBuilder builder;
    builder.StartDoc(settings);
    for (int page = 1; page <= kPages; ++page) {
        builder.StartPage(settings);
        builder.AddDisplayList(TextPage(page));
        builder.EndPage();
    }
    builder.EndDoc();

    Spooler spooler(temp_);
    ASSERT_TRUE(spooler.Ready());
    std::vector<uint64_t> held;
    const long peakBefore = PeakResidentKiB();
    long peakAtEnd = -1;
    const SpoolRun run = spooler.Run(builder.Job(), [&](SplHandle* h, const SpoolRecord& record) {
        if (record.call == SpoolCall::EndDoc) peakAtEnd = PeakResidentKiB();  // before the decoding
        if (record.call != SpoolCall::EndPage || h == nullptr || h->prFB == nullptr) return;
        ASSERT_NE(h->prFB->cmdList, nullptr);
        EXPECT_TRUE(h->prFB->cmdList->buffers.empty()) << "page " << held.size() + 1;
        held.push_back(HeldBytes(*h->prFB));
    });
    ASSERT_TRUE(run.decoded) << run.error;
    ASSERT_EQ(run.job.pages.size(), size_t{kPages});
    ASSERT_EQ(held.size(), size_t{kPages});
    for (int page = 1; page < kPages; ++page) EXPECT_EQ(held[page], held[0]) << "page " << page + 1;
    for (const DecodedPage& page : run.job.pages) EXPECT_GT(page.Plane(4).dots, 100000u);

    RecordProperty("held_bytes_per_page", std::to_string(held[0]));
    RecordProperty("peak_resident_kib", std::to_string(peakAtEnd));
    std::printf(
        "50-page text job at 600 dpi: the document held %llu bytes at every page end;"
        " process peak resident %ld KiB before the job (spooled job built), %ld KiB at"
        " its end%s\n",
        static_cast<unsigned long long>(held[0]), peakBefore, peakAtEnd,
        peakAtEnd < 0 ? " (not known here)" : "");
    // The band buffers: a rendering band is at most the 60 MiB budget.
    EXPECT_LT(held[0], uint64_t{80} << 20);
}

}  // namespace
