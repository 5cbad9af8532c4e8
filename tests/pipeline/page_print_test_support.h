// Helpers of the page printer tests: the stand-in colour module bound to a
// colour document, a job on a test printer whose pages go through
// FBPagePrint and come back decoded, and comparisons of decoded planes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "decode/stream_decoder.h"
#include "engine/playback_test_support.h"
#include "pipeline/colour_module.h"
#include "pipeline/fb_records.h"
#include "pipeline/output_writer.h"
#include "pipeline/page_print.h"
#include "pipeline/printer_stream.h"
#include "support/library_paths.h"
#include "support/page_fixtures.h"
#include "support/plane_compare.h"
#include "support/temp_folder.h"
#include "support/test_printer.h"

namespace page_test {

using playback_test::DL;

// The stand-in colour module (built beside the tests) as a colour or grey
// document binds it, for 600 dpi output. Black prints with black toner
// alone, primary colours with their own inks, greys with all four.
class StandInColour {
public:
    explicit StandInColour(bool colourDocument = true) {
        FBInterface record;
        record.SetUInt(kFBIColour, colourDocument ? 1 : 0);
        record.SetUInt(kFBIOutputResolution, 600);
        loaded_ = CMMInitializeFrom(&converter_, record, false, zebl_test::LibraryBesideStandIns()) == 1;
    }
    bool Loaded() const { return loaded_; }
    CMMConverter* Converter() { return &converter_; }

private:
    CMMConverter converter_;
    bool loaded_ = false;
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
    PageJob(const zebl_test::TempFolder& folder, CMMConverter* colour = nullptr)
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
