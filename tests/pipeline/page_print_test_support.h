// Helpers of the page printer tests: a colour conversion in its simplest
// form, a job on a test printer whose pages go through FBPagePrint and come
// back decoded, and comparisons of decoded planes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "decode/stream_decoder.h"
#include "engine/playback_test_support.h"
#include "pipeline/fb_records.h"
#include "pipeline/output_writer.h"
#include "pipeline/page_print.h"
#include "pipeline/printer_stream.h"
#include "support/page_fixtures.h"
#include "support/plane_compare.h"
#include "support/temp_folder.h"
#include "support/test_printer.h"

namespace page_test {

using playback_test::DL;

// The simplest colour conversion (zebl_test::ConvertToInks), counting the
// pages and pixels it converted.
class SimpleColour : public FBColourConverter {
public:
    void ResetPage(const FBPage&) override { ++pages; }
    void Convert(uint8_t* pixels, uint32_t count, uint32_t bitsPerPixel) override {
        if (bitsPerPixel != 32) return;
        converted += count;
        zebl_test::ConvertToInks(pixels, count);
    }
    int pages = 0;
    uint64_t converted = 0;
};

using zebl_test::MakePage;

// A display list as one chunk.
struct ListView {
    explicit ListView(const DL& dl) : chunk{dl.bytes().data(), static_cast<uint32_t>(dl.size())} {}
    FBDisplayList List() const { return FBDisplayList{&chunk, &chunk + 1, chunk.size}; }
    DLChunk chunk;
};

// A job of pages printed with FBPagePrint onto a test printer.
class PageJob {
public:
    PageJob(const zebl_test::TempFolder& folder, FBColourConverter* colour = nullptr)
        : printer_(std::make_unique<zebl_test::TestPrinter>(folder)) {
        cache_.colour = colour;
        settings_.scale = 100;
        if (!printer_->Ready()) return;
        FBOutSetDocinfo(&out_, u"page test", printer_->OutputPath(), u"RAW");
        opened_ = FBOutOpen(&out_, printer_->Name(), nullptr) == 1 && FBOutStartDoc(&out_) == 1;
    }
    ~PageJob() { FBOutClose(&out_); }

    bool Opened() const { return opened_; }
    FBSettings& Settings() { return settings_; }
    FBPrintCache& Cache() { return cache_; }
    FBOut* Out() { return &out_; }

    // Prints one page (the job header goes before the first).
    int Print(const FBPage& page, const DL& list) {
        if (!headerWritten_) headerWritten_ = WriteJobHeader(&out_, page, &settings_) == 1;
        ListView view(list);
        return FBPagePrint(page, view.List(), &out_, &settings_, &cache_);
    }

    // Ends the job and decodes it; the test fails when it does not decode.
    const DecodedJob& Finish() {
        EXPECT_EQ(WriteJobTrailer(&out_), 1);
        EXPECT_EQ(FBOutEndDoc(&out_), 1);
        FBOutClose(&out_);
        bytes_ = printer_->Output();
        std::string error;
        EXPECT_TRUE(DecodeStream(bytes_.data(), bytes_.size(), &job_, &error)) << error;
        return job_;
    }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::unique_ptr<zebl_test::TestPrinter> printer_;
    FBOut out_;
    FBSettings settings_;
    FBPrintCache cache_;
    bool opened_ = false;
    bool headerWritten_ = false;
    std::vector<uint8_t> bytes_;
    DecodedJob job_;
};

using zebl_test::CompareDots;
using zebl_test::DotsIn;

}  // namespace page_test
