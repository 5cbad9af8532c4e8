// Overlays and watermarks end to end: documents that record an overlay or a
// watermark file and print nothing, and documents that print with them, the
// overlay under each page and the watermark over it. The questions about
// overlays are answered by the answer script, in both builds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pipeline/finishing_test_support.h"
#include "pipeline/overlay_option.h"
#include "pipeline/own_module.h"
#include "pipeline/watermark_paths.h"
#include "support/answer_script.h"
#include "support/file_bytes.h"
#include "sys/files.h"
#include "sys/paths.h"

namespace {

using entry_test::Box;
using entry_test::DotsIn;
using entry_test::ListOf;
using entry_test::SpoolRun;
using finishing_test::FinishingTest;
using finishing_test::Print;
using zebl_test::AnswerScript;

constexpr uint32_t kWidth = 320, kHeight = 300;
const Box kLetterhead{0, 0, 200, 40};             // the overlay's drawing
const Box kWhiteOut{20, 10, 60, 30, 0x81FFFFFF};  // the page paints white over part of it
const Box kPageBox{100, 100, 160, 150};

// A job whose every record names the overlay file and has the given options.
SpoolJob OverlayJob(uint32_t options, const sys::WString& overlay, uint32_t pages, uint32_t askBeforeUse = 0,
                    const std::vector<Box>& drawing = {kWhiteOut, kPageBox}) {
    JobSettings settings = entry_test::SmallPage(300, kWidth, kHeight);
    settings.fields.push_back({kFBIDocOptions, options});
    settings.fields.push_back({kFBIAskBeforeOverlay, askBeforeUse});
    auto record = [&](uint32_t flags) {
        FBInterface r = MakeSettingsRecord(settings, flags);
        r.SetString(kFBIOverlayPath, overlay);
        return std::vector<uint8_t>(r.bytes.begin(), r.bytes.end());
    };
    SpoolJob job;
    job.records.push_back({SpoolCall::StartDoc, {'d', 'o', 'c'}});
    job.records.push_back({SpoolCall::WritePrinter, record(kFBICmdStartDoc)});
    for (uint32_t n = 0; n < pages; ++n) {
        job.records.push_back({SpoolCall::StartPage, {}});
        job.records.push_back({SpoolCall::WritePrinter, record(kFBICmdStartPage)});
        for (auto& buffer : DisplayListBuffers(ListOf(drawing)))
            job.records.push_back({SpoolCall::WritePrinter, buffer});
        job.records.push_back({SpoolCall::EndPage, {}});
    }
    job.records.push_back({SpoolCall::EndDoc, {}});
    return job;
}

// A recorded data file of one record (tag 0) holding the drawing.
bool WriteOverlay(const sys::WString& path, const std::vector<Box>& drawing) {
    const DLWriter list = ListOf(drawing);
    const std::vector<uint8_t>& piece = list.Bytes();
    std::vector<uint8_t> bytes;
    const uint32_t length = static_cast<uint32_t>(piece.size());
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(length >> shift));
    bytes.insert(bytes.end(), 4, 0);
    bytes.insert(bytes.end(), piece.begin(), piece.end());
    return zebl_test::WriteFileBytes(path, bytes.data(), bytes.size());
}

// The overlay questions asked so far (the caption names an overlay).
std::vector<zebl_test::AskedQuestion> OverlayQuestions(const AnswerScript& answers) {
    std::vector<zebl_test::AskedQuestion> asked;
    for (const zebl_test::AskedQuestion& q : answers.Questions()) {
        if (q.caption.find("Overlay") != std::string::npos) asked.push_back(q);
    }
    return asked;
}

// The page printed over the overlay: the letterhead less the page's white
// box, and the page's own box.
void ExpectPageOverOverlay(const DecodedPage& page) {
    const uint64_t letterhead =
        uint64_t{kLetterhead.right - kLetterhead.left} * (kLetterhead.bottom - kLetterhead.top);
    const uint64_t whiteOut = uint64_t{kWhiteOut.right - kWhiteOut.left} * (kWhiteOut.bottom - kWhiteOut.top);
    EXPECT_EQ(DotsIn(page.Plane(4), kWhiteOut), 0u) << "the page's white lies over the overlay";
    EXPECT_EQ(DotsIn(page.Plane(4), kLetterhead), letterhead - whiteOut);
    EXPECT_EQ(DotsIn(page.Plane(4), kPageBox), 60u * 50);
}

void ExpectPageAlone(const DecodedPage& page) { EXPECT_EQ(page.Plane(4).dots, 60u * 50); }

class Overlay : public FinishingTest {
protected:
    sys::WString OverlayPath() const { return temp_.Join(u"form.ovl"); }
};

TEST_F(Overlay, RecordedWithOneDocumentThenPrintedUnderAnother) {
    AnswerScript answers("caption Create Overlay = Yes\n");
    // Creation mode, no file yet: the document records the overlay.
    const SpoolRun recording =
        entry_test::RunJob(temp_, OverlayJob(kDocOptOverlayCreate, OverlayPath(), 1, 0, {kLetterhead}));
    EXPECT_TRUE(recording.bytes.empty()) << "a recording document prints nothing";
    ASSERT_EQ(sys::GetPathKind(OverlayPath()), sys::PathKind::File);
    const std::vector<zebl_test::AskedQuestion> asked = OverlayQuestions(answers);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].caption, "Create Overlay");
    EXPECT_EQ(asked[0].text, "Do you want to create the following overlay ?\n" + sys::Narrow(OverlayPath()));
    EXPECT_EQ(asked[0].answer, "Yes");

    // Creation mode again: the file exists now, so it is used, unasked.
    const SpoolRun printed = Print(temp_, OverlayJob(kDocOptOverlayCreate, OverlayPath(), 2));
    ASSERT_EQ(printed.job.pages.size(), 2u);
    for (const DecodedPage& page : printed.job.pages) ExpectPageOverOverlay(page);
    EXPECT_EQ(OverlayQuestions(answers).size(), 1u);
}

TEST_F(Overlay, CreationModeWithAnExistingFileUsesItWithoutAsking) {
    ASSERT_TRUE(WriteOverlay(OverlayPath(), {kLetterhead}));
    AnswerScript answers("default = No\n");
    const SpoolRun run = Print(temp_, OverlayJob(kDocOptOverlayCreate, OverlayPath(), 1));
    ASSERT_EQ(run.job.pages.size(), 1u);
    ExpectPageOverOverlay(run.job.pages[0]);
    EXPECT_TRUE(OverlayQuestions(answers).empty());
}

TEST_F(Overlay, DecliningTheCreateQuestionPrintsNothing) {
    AnswerScript answers("caption Create Overlay = No\n");
    const SpoolRun run = entry_test::RunJob(temp_, OverlayJob(kDocOptOverlayCreate, OverlayPath(), 2));
    EXPECT_TRUE(run.bytes.empty());
    EXPECT_EQ(sys::GetPathKind(OverlayPath()), sys::PathKind::Missing);
    EXPECT_EQ(OverlayQuestions(answers).size(), 1u) << "asked once per document";
}

TEST_F(Overlay, AnythingButYesToTheUseQuestionPrintsWithoutIt) {
    ASSERT_TRUE(WriteOverlay(OverlayPath(), {kLetterhead}));
    AnswerScript answers("caption Download New Page Overlay = No\n");
    const SpoolRun run = Print(temp_, OverlayJob(0, OverlayPath(), 2, /*askBeforeUse=*/1));
    ASSERT_EQ(run.job.pages.size(), 2u);
    for (const DecodedPage& page : run.job.pages) ExpectPageAlone(page);
    const std::vector<zebl_test::AskedQuestion> asked = OverlayQuestions(answers);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, sys::Narrow(OverlayPath()));
}

TEST_F(Overlay, YesToTheUseQuestionPrintsWithIt) {
    ASSERT_TRUE(WriteOverlay(OverlayPath(), {kLetterhead}));
    AnswerScript answers("caption Download New Page Overlay = Yes\n");
    const SpoolRun run = Print(temp_, OverlayJob(0, OverlayPath(), 1, /*askBeforeUse=*/1));
    ASSERT_EQ(run.job.pages.size(), 1u);
    ExpectPageOverOverlay(run.job.pages[0]);
}

TEST_F(Overlay, ExistenceTestDoesNotHoldTheFile) {
    ASSERT_TRUE(WriteOverlay(OverlayPath(), {kLetterhead}));
    EXPECT_TRUE(fbFileExist(OverlayPath()));
    // Held by nobody: it can be opened unshared and deleted at once.
    EXPECT_TRUE(sys::File::OpenExisting(OverlayPath(), true, sys::Share::None).IsOpen());
    EXPECT_TRUE(sys::DeleteFile(OverlayPath()));
    EXPECT_FALSE(fbFileExist(OverlayPath()));
    EXPECT_FALSE(fbFileExist(u""));
}

// ---- Watermarks ------------------------------------------------------------------------

// The watermark files live in the system folder; each test removes them.
class Watermark : public FinishingTest {
protected:
    void SetUp() override {
        FinishingTest::SetUp();
        RemoveWatermarkFiles();
    }
    void TearDown() override {
        RemoveWatermarkFiles();
        FinishingTest::TearDown();
    }
    static void RemoveWatermarkFiles() {
        sys::WString portrait, landscape;
        if (fbStrGetWMFileNameP(&portrait)) sys::DeleteFile(portrait);
        if (fbStrGetWMFileNameL(&landscape)) sys::DeleteFile(landscape);
    }
};

const Box kStamp{40, 120, 280, 200};  // the watermark's drawing

SpoolJob WatermarkJob(uint32_t options, uint32_t pages, bool landscape, uint32_t firstPageOnly,
                      const std::vector<Box>& drawing) {
    JobSettings settings = entry_test::SmallPage(300, kWidth, kHeight);
    settings.landscape = landscape;
    settings.fields.push_back({kFBIDocOptions, options});
    settings.fields.push_back({kFBIWatermarkFirstPageOnly, firstPageOnly});
    SpoolJobBuilder builder;
    builder.StartDoc(settings);
    for (uint32_t n = 0; n < pages; ++n) {
        builder.StartPage(settings);
        builder.AddDisplayList(ListOf(drawing));
        builder.EndPage();
    }
    builder.EndDoc();
    return builder.Job();
}

struct WatermarkCase {
    const char* name;
    bool landscape;
    uint32_t firstPageOnly;
};

class WatermarkCycle : public Watermark, public testing::WithParamInterface<WatermarkCase> {};

TEST_P(WatermarkCycle, RecordedThenPrintedOverThePages) {
    const WatermarkCase& c = GetParam();
    const SpoolRun recording =
        entry_test::RunJob(temp_, WatermarkJob(kDocOptRecordWatermark, 1, c.landscape, 0, {kStamp}));
    EXPECT_TRUE(recording.bytes.empty()) << "a recording document prints nothing";
    sys::WString recorded, other;
    ASSERT_TRUE(c.landscape ? fbStrGetWMFileNameL(&recorded) : fbStrGetWMFileNameP(&recorded));
    ASSERT_TRUE(c.landscape ? fbStrGetWMFileNameP(&other) : fbStrGetWMFileNameL(&other));
    EXPECT_EQ(sys::GetPathKind(recorded), sys::PathKind::File);
    EXPECT_EQ(sys::GetPathKind(other), sys::PathKind::Missing);

    const SpoolRun run =
        Print(temp_, WatermarkJob(kDocOptWatermark, 3, c.landscape, c.firstPageOnly, {kPageBox}));
    ASSERT_EQ(run.job.pages.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const PagePlane& plane = run.job.pages[i].Plane(4);
        const bool stamped = c.firstPageOnly == 0 || i == 0;
        // The stamp beside the page's own box.
        const uint64_t stampDots =
            DotsIn(plane, Box{40, 120, 100, 200}) + DotsIn(plane, Box{160, 120, 280, 200});
        if (stamped) {
            EXPECT_GT(stampDots, 0u) << "page " << i + 1;
        } else {
            EXPECT_EQ(stampDots, 0u) << "page " << i + 1;
        }
        EXPECT_EQ(DotsIn(plane, kPageBox), 60u * 50) << "page " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Watermark, WatermarkCycle,
                         testing::Values(WatermarkCase{"Portrait", false, 0},
                                         WatermarkCase{"Landscape", true, 0},
                                         WatermarkCase{"FirstPageOnly", false, 1}),
                         [](const testing::TestParamInfo<WatermarkCase>& p) {
                             return std::string(p.param.name);
                         });

TEST_F(Watermark, ALibraryNotNamedUmDllHasNoModelBase) {
    fbOverrideOwnModulePath(temp_.Join(u"Tzqr4.dll"));
    FBSettings settings;
    EXPECT_EQ(FBSettingsSetWatermarkPaths(&settings), 1);
    sys::WString system;
    ASSERT_EQ(fbStrGetSystemPath(&system), 1);
    EXPECT_EQ(std::u16string(settings.portraitWatermarkPath), system + u"\\.wmp");
    EXPECT_EQ(std::u16string(settings.landscapeWatermarkPath), system + u"\\.wml");
}

}  // namespace
