// Golden printer streams: the sample job and the scenes of tests/data/golden
// composed, printed through the library's entry points and compared byte for
// byte (by size and a 64-bit FNV-1a checksum) with the streams recorded in
// tests/data/golden/streams.txt. Both builds must print the same bytes.
//
// A change that is meant to alter printed bytes regenerates the list with
//   ZEBL_UPDATE_GOLDEN=1 build/native/tests/tools_tests --gtest_filter='GoldenStream*'
// and says why in its commit; every other change leaves it alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "job/job_player.h"
#include "job/scene.h"
#include "pipeline/own_module.h"
#include "support/library_paths.h"
#include "support/linked_entry_points.h"
#include "support/temp_folder.h"
#include "support/test_printer.h"

namespace {

struct StreamPrint {
    uint64_t size = 0;
    uint64_t fnv = 0;

    bool operator==(const StreamPrint&) const = default;
};

StreamPrint Fingerprint(const std::vector<uint8_t>& bytes) {
    uint64_t hash = 0xCBF29CE484222325ull;
    for (uint8_t b : bytes) {
        hash ^= b;
        hash *= 0x100000001B3ull;
    }
    return {bytes.size(), hash};
}

const std::string kGoldenDir = ZEBL_GOLDEN_DIR;
const std::string kGoldenList = kGoldenDir + "/streams.txt";

// name -> recorded stream, from lines "name size checksum".
std::map<std::string, StreamPrint> ReadGoldenList() {
    std::map<std::string, StreamPrint> list;
    std::ifstream in(kGoldenList);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name;
        StreamPrint print;
        fields >> name >> print.size >> std::hex >> print.fnv;
        if (fields) list[name] = print;
    }
    return list;
}

void WriteGoldenList(const std::map<std::string, StreamPrint>& list) {
    std::ofstream out(kGoldenList);
    out << "# Printer streams of the golden jobs: name, bytes, FNV-1a 64 checksum.\n"
           "# Regenerated only by ZEBL_UPDATE_GOLDEN=1 (see tests/tools/golden_stream_test.cpp).\n";
    for (const auto& [name, print] : list)
        out << name << ' ' << print.size << ' ' << std::hex << print.fnv << std::dec << '\n';
}

struct GoldenJob {
    const char* name;
    const char* scene;  // relative to the source tree
};

const GoldenJob kGoldenJobs[] = {
    {"sample", "tools/samples/sample.scene"},
    {"grey_300_text", "tests/data/golden/grey_300_text.scene"},
    {"colour_600", "tests/data/golden/colour_600.scene"},
    {"colour_1200_copies", "tests/data/golden/colour_1200_copies.scene"},
    {"mono_600x1200_turned", "tests/data/golden/mono_600x1200_turned.scene"},
    {"poster_enlarged", "tests/data/golden/poster_enlarged.scene"},
};

class GoldenStream : public zebl_test::TempFolderTest, public ::testing::WithParamInterface<GoldenJob> {
protected:
    // The library finds the stand-in colour module in <build>/bin, as an
    // installed library finds it beside itself.
    void SetUp() override { fbOverrideOwnModulePath(zebl_test::LibraryBesideStandIns()); }
    void TearDown() override { fbOverrideOwnModulePath(u""); }

    std::vector<uint8_t> Print(const GoldenJob& golden) {
        SpoolJob job;
        std::string error;
        EXPECT_TRUE(ComposeSceneFile(zebl_test::HostPath(std::string(ZEBL_SOURCE_DIR) + "/" + golden.scene),
                                     &job, &error))
            << error;
        zebl_test::TestPrinter printer(temp_);
        EXPECT_TRUE(printer.Ready());
        const DrvSplEntryPoints entry = zebl_test::LinkedEntryPoints();
        PlayOptions options;
        options.printerName = printer.Name();
        options.outputFile = printer.OutputPath();
        PlayReport report;
        EXPECT_TRUE(PlaySpoolJob(job, entry, options, &report, &error)) << error;
        EXPECT_TRUE(report.Ok()) << report.Trace();
        return printer.Output();
    }
};

TEST_P(GoldenStream, PrintsTheRecordedBytes) {
    const GoldenJob& golden = GetParam();
    const StreamPrint printed = Fingerprint(Print(golden));
    ASSERT_GT(printed.size, 0u);
    std::map<std::string, StreamPrint> list = ReadGoldenList();
    const char* update = std::getenv("ZEBL_UPDATE_GOLDEN");
    if (update != nullptr && *update == '1') {
        list[golden.name] = printed;
        WriteGoldenList(list);
        GTEST_SKIP() << "recorded " << golden.name;
    }
    ASSERT_TRUE(list.count(golden.name)) << golden.name << " is not in " << kGoldenList;
    const StreamPrint& recorded = list[golden.name];
    EXPECT_EQ(printed.size, recorded.size) << golden.name;
    EXPECT_EQ(printed.fnv, recorded.fnv)
        << golden.name << ": printed " << std::hex << printed.fnv << ", recorded " << recorded.fnv;
}

INSTANTIATE_TEST_SUITE_P(Jobs, GoldenStream, ::testing::ValuesIn(kGoldenJobs),
                         [](const ::testing::TestParamInfo<GoldenJob>& job) {
                             return std::string(job.param.name);
                         });

}  // namespace
