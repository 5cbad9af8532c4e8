// Two documents printing at the same time in one process, as a print server
// drives them from two spooler threads: a grey and a colour job, each
// printed alone first, then both together many times. Every stream must be
// the one the job printed alone. (Grey documents hold the colour module too,
// so the first to finish must not take it away from the other.)
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "job/scene.h"
#include "pipeline/colour_module.h"
#include "pipeline/entry_points_test_support.h"

namespace {

using entry_test::EntryPointTest;
using entry_test::Spooler;
using entry_test::SpoolRun;

constexpr int kRounds = 10;
constexpr int kPages = 2;

// Pages of boxes and text, different on each page so that a page printed
// into the other document's stream, or twice, shows.
std::string Scene(bool colour) {
    std::string scene = "resolution 300\nprintable 1000 900\n";
    scene += colour ? "colour on\n" : "colour off\n";
    for (int page = 0; page < kPages; ++page) {
        const std::string shift = std::to_string(40 * page);
        scene += "page\n";
        scene += colour ? "colour 255 0 0\n" : "grey 0\n";
        scene += "box " + shift + " 20 600 300\n";
        scene += colour ? "colour 40 200 90\n" : "grey 128\n";
        scene += "box 300 " + shift + " 900 600\n";
        scene += colour ? "colour 20 40 230\n" : "grey 60\n";
        scene += "text 100 700 5 \"PAGE " + std::to_string(page + 1) + "\"\n";
    }
    return scene;
}

struct Document {
    const char* name;
    SpoolJob job;
    std::unique_ptr<Spooler> spooler;
    std::vector<uint8_t> alone;
};

class ConcurrentDocuments : public EntryPointTest {
protected:
    // Composes the job, makes its printer (printers are made here, on the
    // test's thread) and prints it alone.
    void Prepare(Document* document, bool colour) {
        std::string error;
        ASSERT_TRUE(ComposeScene(Scene(colour), {}, &document->job, &error)) << error;
        document->spooler = std::make_unique<Spooler>(temp_);
        ASSERT_TRUE(document->spooler->Ready());
        const SpoolRun run = document->spooler->Run(document->job);
        ASSERT_TRUE(run.decoded) << run.error;
        ASSERT_EQ(run.job.pages.size(), static_cast<size_t>(kPages));
        document->alone = run.bytes;
    }
};

TEST_F(ConcurrentDocuments, TwoJobsOnTwoThreadsPrintAsEachAlone) {
    Document documents[2] = {{"grey"}, {"colour"}};
    ASSERT_NO_FATAL_FAILURE(Prepare(&documents[0], false));
    ASSERT_NO_FATAL_FAILURE(Prepare(&documents[1], true));
    ASSERT_NE(documents[0].alone, documents[1].alone);
    for (int round = 0; round < kRounds && !HasFailure(); ++round) {
        SpoolRun runs[2];
        std::thread threads[2];
        // Both documents, once started, send their first settings record
        // (which takes the colour module) at the same moment.
        std::atomic<int> waiting{2};
        const auto meetAfterStartDoc = [&](SplHandle*, const SpoolRecord& record) {
            if (record.call != SpoolCall::StartDoc) return;
            waiting.fetch_sub(1);
            while (waiting.load() > 0) std::this_thread::yield();
        };
        for (int i = 0; i < 2; ++i) {
            threads[i] = std::thread(
                [&, i] { runs[i] = documents[i].spooler->Run(documents[i].job, meetAfterStartDoc); });
        }
        for (std::thread& thread : threads) thread.join();
        for (int i = 0; i < 2; ++i) {
            EXPECT_TRUE(runs[i].bytes == documents[i].alone)
                << documents[i].name << " job, round " << round << ": " << runs[i].bytes.size()
                << " bytes, alone " << documents[i].alone.size();
        }
    }
    EXPECT_EQ(SC_UseCount(), 0u) << "a document kept the colour module";
}

}  // namespace
