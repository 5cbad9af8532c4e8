// Helpers of the band printer tests: a page record, a rendering band to fill
// by hand, and a printed job on a test printer that is read back with the
// stream decoder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "decode/stream_decoder.h"
#include "pipeline/fb_band.h"
#include "pipeline/fb_records.h"
#include "pipeline/output_writer.h"
#include "pipeline/printer_stream.h"
#include "support/page_fixtures.h"
#include "support/plane_compare.h"
#include "support/temp_folder.h"
#include "support/test_printer.h"

namespace band_test {

using zebl_test::Inks;
using zebl_test::kBlackInk;
using zebl_test::kCyanInk;
using zebl_test::kMagentaInk;
using zebl_test::kYellowInk;

using zebl_test::MakePage;

// A rendering band: rows of rowPixels pixels back to back, exactly as large
// as it must be, so that the sanitizer sees any read past it. Starts white.
struct RenderBand {
    RenderBand(uint32_t bitsPerPixel, uint32_t pixelsPerRow, uint32_t rowCount)
        : bytesPerPixel(bitsPerPixel / 8),
          rowPixels(pixelsPerRow),
          rows(rowCount),
          pixels(size_t{pixelsPerRow} * rowCount * (bitsPerPixel / 8), 0xFF) {}

    // Sets a rectangle of pixels (grey: the low byte).
    void Fill(uint32_t row, uint32_t col, uint32_t height, uint32_t width, uint32_t pixel) {
        for (uint32_t r = row; r < row + height; ++r)
            for (uint32_t c = col; c < col + width; ++c) Set(r, c, pixel);
    }
    void Set(uint32_t row, uint32_t col, uint32_t pixel) {
        std::memcpy(&pixels[(size_t{row} * rowPixels + col) * bytesPerPixel], &pixel, bytesPerPixel);
    }
    uint32_t Stride() const { return rowPixels * bytesPerPixel; }

    uint32_t bytesPerPixel;
    uint32_t rowPixels;
    uint32_t rows;
    std::vector<uint8_t> pixels;
};

// Hands the rendering band to the band record as rendering rows
// top .. top + rows - 1 and prints it.
inline int PrintRenderBand(FBBand* band, FBOut* out, RenderBand* render, uint32_t top,
                           const std::vector<uint8_t>* rowFlags = nullptr) {
    FBOutBandSetBuffer(band, render->pixels.data(), render->pixels.size());
    FBOutBandSetRowFlags(band, rowFlags ? rowFlags->data() : nullptr, rowFlags ? rowFlags->size() : 0);
    if (!FBPrepareBand(band, 0, top, render->rowPixels - 1, top + render->rows - 1)) return 0;
    return FBPrintBand(band, out);
}

// One job of one page on a test printer: the job header and page header are
// written at once; Finish writes the page trailer and the job trailer, reads
// what the printer received and decodes it.
class PrintedJob {
public:
    PrintedJob(const zebl_test::TempFolder& folder, const FBPage& page)
        : page_(page), printer_(std::make_unique<zebl_test::TestPrinter>(folder)) {
        if (!printer_->Ready()) return;
        FBOutSetDocinfo(&out_, u"band test", printer_->OutputPath(), u"RAW");
        opened_ = FBOutOpen(&out_, printer_->Name(), nullptr) == 1 && FBOutStartDoc(&out_) == 1 &&
                  WriteJobHeader(&out_, page_, &settings_) == 1 && FBOutStartPage(&out_) == 1 &&
                  WritePageHeader(&out_, page_, settings_) == 1;
    }
    ~PrintedJob() { FBOutClose(&out_); }

    bool Opened() const { return opened_; }
    FBOut* Out() { return &out_; }

    // The decoded job; the test fails when the stream does not decode.
    const DecodedJob& Finish() {
        EXPECT_EQ(WritePageTrailer(&out_, page_, settings_), 1);
        EXPECT_EQ(FBOutEndPage(&out_), 1);
        EXPECT_EQ(WriteJobTrailer(&out_), 1);
        EXPECT_EQ(FBOutEndDoc(&out_), 1);
        FBOutClose(&out_);
        bytes_ = printer_->Output();
        std::string error;
        EXPECT_TRUE(DecodeStream(bytes_.data(), bytes_.size(), &job_, &error)) << error;
        EXPECT_EQ(job_.pages.size(), 1u);
        return job_;
    }
    // The finished job's only page.
    const DecodedPage& Page() const { return job_.pages.at(0); }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    FBPage page_;
    FBSettings settings_;
    std::unique_ptr<zebl_test::TestPrinter> printer_;
    FBOut out_;
    bool opened_ = false;
    std::vector<uint8_t> bytes_;
    DecodedJob job_;
};

using zebl_test::CompareDots;

}  // namespace band_test
