// Helpers of the entry-point tests: a spooler that replays a spooled job
// through the DrvSpl entry points onto a test printer and decodes what the
// printer received, and small display lists.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "decode/stream_decoder.h"
#include "job/job_builder.h"
#include "pipeline/entry_points.h"
#include "pipeline/own_module.h"
#include "support/library_paths.h"
#include "support/plane_compare.h"
#include "support/temp_folder.h"
#include "support/test_printer.h"
#include "sys/modules.h"
#include "sys/paths.h"
#include "sys/spooler.h"

namespace entry_test {

using zebl_test::LibraryBesideStandIns;

// What one replayed job gave: each call's result in order, the bytes the
// printer received, and their decoding.
struct SpoolRun {
    std::vector<int> results;
    std::vector<uint32_t> written;  // WritePrinter's written counts (0 when untouched)
    std::vector<uint8_t> bytes;
    DecodedJob job;
    bool decoded = false;
    std::string error;
};

// Plays the part of the print spooler: opens the printer, starts its
// document with the output file, replays the job's calls through the
// library's entry points, ends the document and reads the output.
class Spooler {
public:
    explicit Spooler(const zebl_test::TempFolder& folder, const zebl_test::PrinterFaults& faults = {})
        : printer_(std::make_unique<zebl_test::TestPrinter>(folder, faults)) {}

    bool Ready() const { return printer_->Ready(); }
    const zebl_test::TestPrinter& Printer() const { return *printer_; }

    // inspect, when given, is called after every call with the handle.
    template <typename Inspect>
    SpoolRun Run(const SpoolJob& job, Inspect inspect) {
        SpoolRun run;
        sys::PrinterHandle printer = sys::OpenPrinter(printer_->Name());
        EXPECT_NE(printer, nullptr);
        EXPECT_NE(sys::StartDocPrinter(printer, u"spooled job", printer_->OutputPath(), u"RAW"), 0u);
        void* handle = nullptr;
        for (const SpoolRecord& record : job.records) {
            uint32_t written = 0;
            int result = 0;
            switch (record.call) {
                case SpoolCall::StartDoc:
                    handle = DrvSplStartDoc(printer, 7);
                    result = handle != nullptr;
                    break;
                case SpoolCall::WritePrinter: {
                    std::vector<uint8_t> buffer = record.data;  // the library may not write into it
                    result = DrvSplWritePrinter(handle, buffer.empty() ? nullptr : buffer.data(),
                                                static_cast<uint32_t>(buffer.size()), &written);
                    break;
                }
                case SpoolCall::StartPage: result = DrvSplStartPage(handle); break;
                case SpoolCall::EndPage: result = DrvSplEndPage(handle); break;
                case SpoolCall::EndDoc: result = DrvSplEndDoc(handle); break;
                case SpoolCall::Abort: result = DrvSplAbort(handle); break;
                case SpoolCall::End: break;
            }
            run.results.push_back(result);
            run.written.push_back(written);
            inspect(static_cast<SplHandle*>(handle), record);
        }
        DrvSplClose(handle);
        sys::EndDocPrinter(printer);
        sys::ClosePrinter(printer);
        run.bytes = printer_->Output();
        run.decoded = DecodeStream(run.bytes.data(), run.bytes.size(), &run.job, &run.error);
        return run;
    }
    SpoolRun Run(const SpoolJob& job) {
        return Run(job, [](SplHandle*, const SpoolRecord&) {});
    }

private:
    std::unique_ptr<zebl_test::TestPrinter> printer_;
};

// One job replayed by a spooler of its own onto a fresh test printer.
inline SpoolRun RunJob(const zebl_test::TempFolder& folder, const SpoolJob& job) {
    Spooler spooler(folder);
    EXPECT_TRUE(spooler.Ready());
    return spooler.Run(job);
}

// A test whose library finds the stand-in colour module (or, with
// NoColourModule, a folder without one).
class EntryPointTest : public zebl_test::TempFolderTest {
protected:
    void SetUp() override { fbOverrideOwnModulePath(LibraryBesideStandIns()); }
    void TearDown() override { fbOverrideOwnModulePath(u""); }
    void NoColourModule() { fbOverrideOwnModulePath(temp_.Join(u"Tzqr4um.dll")); }
};

// A box of a test page: dots, right and bottom exclusive.
struct Box {
    uint32_t left, top, right, bottom;
    uint32_t colour = 0x81000000;

    bool Holds(uint32_t x, uint32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
};

inline DLWriter ListOf(const std::vector<Box>& boxes) {
    DLWriter list;
    for (const Box& b : boxes) {
        list.SetRopColour(0xF0, b.colour);
        list.SetRow(static_cast<uint16_t>(b.top));
        list.SetColumn(static_cast<uint16_t>(b.left));
        list.Box16(static_cast<uint16_t>(b.bottom - b.top), static_cast<uint16_t>(b.right - b.left));
    }
    return list;
}

// A job of `pages` pages, each with the same boxes, every page announced by
// its settings record.
inline SpoolJob OneListJob(const JobSettings& settings, const DLWriter& list, int pages = 1) {
    SpoolJobBuilder builder;
    builder.StartDoc(settings);
    for (int i = 0; i < pages; ++i) {
        builder.StartPage(settings);
        builder.AddDisplayList(list);
        builder.EndPage();
    }
    builder.EndDoc();
    return builder.Job();
}

// Settings of a small page: printable width x height dots.
inline JobSettings SmallPage(uint32_t resolution, uint32_t width, uint32_t height, bool colour = false) {
    JobSettings settings;
    settings.resolution = resolution;
    settings.colour = colour;
    settings.printableWidth = width;
    settings.printableHeight = height;
    return settings;
}

using zebl_test::CompareDots;

inline uint64_t DotsIn(const PagePlane& plane, const Box& b) {
    return zebl_test::DotsIn(plane, b.left, b.top, b.right, b.bottom);
}

}  // namespace entry_test
