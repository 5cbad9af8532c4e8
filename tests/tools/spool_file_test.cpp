// The spool file format: bytes worked out by hand from the format, round
// trips through memory and files, and refusal of truncated and corrupt files.
#include "job/spool_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "job/file_bytes.h"
#include "job/spool_reader.h"
#include "support/temp_folder.h"

namespace {

SpoolJob SmallJob() {
    SpoolJob job;
    job.records.push_back({SpoolCall::StartDoc, {'a', 'b'}});
    job.records.push_back({SpoolCall::WritePrinter, {1, 2, 3}});
    job.records.push_back({SpoolCall::StartPage, {}});
    job.records.push_back({SpoolCall::EndPage, {}});
    job.records.push_back({SpoolCall::Abort, {}});
    job.records.push_back({SpoolCall::EndDoc, {}});
    return job;
}

const std::vector<uint8_t> kSmallJobBytes = {
    'Z',  'S',  'P',  'L',  0x01, 0x00, 0x00, 0x00,  // magic, version 1, flags 0
    0x01, 0x02, 0x00, 0x00, 0x00, 'a',  'b',         // StartDoc "ab"
    0x02, 0x03, 0x00, 0x00, 0x00, 1,    2,    3,     // WritePrinter, 3 bytes
    0x03, 0x00, 0x00, 0x00, 0x00,                    // StartPage
    0x04, 0x00, 0x00, 0x00, 0x00,                    // EndPage
    0x06, 0x00, 0x00, 0x00, 0x00,                    // Abort
    0x05, 0x00, 0x00, 0x00, 0x00,                    // EndDoc
    0x00, 0x00, 0x00, 0x00, 0x00,                    // End
};

// Decodes a heap copy of exactly `size` bytes so the sanitizer sees any
// read past the end.
bool Decode(const std::vector<uint8_t>& bytes, size_t size, SpoolJob* job, std::string* error) {
    std::unique_ptr<uint8_t[]> copy(new uint8_t[size ? size : 1]);
    std::copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size), copy.get());
    return DecodeSpoolFile(copy.get(), size, job, error);
}

std::string ErrorOf(const std::vector<uint8_t>& bytes) {
    SpoolJob job;
    std::string error;
    EXPECT_FALSE(Decode(bytes, bytes.size(), &job, &error));
    return error;
}

void ExpectSameJob(const SpoolJob& a, const SpoolJob& b) {
    ASSERT_EQ(a.records.size(), b.records.size());
    for (size_t i = 0; i < a.records.size(); ++i) {
        EXPECT_EQ(a.records[i].call, b.records[i].call) << "record " << i;
        EXPECT_EQ(a.records[i].data, b.records[i].data) << "record " << i;
    }
}

TEST(SpoolFile, EncodesTheDocumentedBytes) { EXPECT_EQ(EncodeSpoolFile(SmallJob()), kSmallJobBytes); }

TEST(SpoolFile, DecodesTheDocumentedBytes) {
    SpoolJob job;
    std::string error;
    ASSERT_TRUE(Decode(kSmallJobBytes, kSmallJobBytes.size(), &job, &error)) << error;
    ExpectSameJob(job, SmallJob());
}

TEST(SpoolFile, RoundTripsLargeAndEmptyBuffers) {
    SpoolJob job;
    job.records.push_back({SpoolCall::StartDoc, {}});
    std::vector<uint8_t> large(200000);
    for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<uint8_t>(i * 7);
    job.records.push_back({SpoolCall::WritePrinter, large});
    job.records.push_back({SpoolCall::WritePrinter, {}});
    job.records.push_back({SpoolCall::EndDoc, {}});
    const std::vector<uint8_t> bytes = EncodeSpoolFile(job);
    SpoolJob back;
    std::string error;
    ASSERT_TRUE(Decode(bytes, bytes.size(), &back, &error)) << error;
    ExpectSameJob(back, job);
}

TEST(SpoolFile, RefusesEveryTruncation) {
    for (size_t size = 0; size < kSmallJobBytes.size(); ++size) {
        SpoolJob job;
        std::string error;
        EXPECT_FALSE(Decode(kSmallJobBytes, size, &job, &error)) << "size " << size;
        EXPECT_FALSE(error.empty());
    }
}

TEST(SpoolFile, NamesTheFaultAndItsOffset) {
    auto with = [](size_t offset, uint8_t value) {
        std::vector<uint8_t> bytes = kSmallJobBytes;
        bytes.at(offset) = value;
        return ErrorOf(bytes);
    };
    EXPECT_EQ(with(0, 'X'), "byte offset 0: not a spool file (no \"ZSPL\" magic)");
    EXPECT_EQ(with(4, 2), "byte offset 4: spool file version 2, this tool reads 1");
    EXPECT_EQ(with(6, 1), "byte offset 6: unknown header flags 1");
    EXPECT_EQ(with(15, 7), "byte offset 15: unknown call 7");
    // StartPage carrying one byte of data.
    EXPECT_EQ(with(24, 1), "byte offset 23: StartPage record with 1 bytes of data (it takes none)");
    // WritePrinter claiming more bytes than the file has.
    EXPECT_EQ(with(17, 1), "byte offset 15: truncated: WritePrinter record of 259 bytes, 28 left");

    std::vector<uint8_t> trailing = kSmallJobBytes;
    trailing.push_back(0);
    EXPECT_EQ(ErrorOf(trailing), "byte offset 48: bytes after the End record");

    std::vector<uint8_t> noEnd(kSmallJobBytes.begin(), kSmallJobBytes.end() - 5);
    EXPECT_EQ(ErrorOf(noEnd), "byte offset 43: truncated: the file ends without its End record");
}

TEST(SpoolFile, RefusesAnOverlongDocumentName) {
    SpoolJob job;
    job.records.push_back({SpoolCall::StartDoc, std::vector<uint8_t>(kSpoolMaxDocNameBytes + 1, 'x')});
    EXPECT_EQ(ErrorOf(EncodeSpoolFile(job)), "byte offset 8: document name of 1025 bytes");
}

TEST(SpoolFile, SurvivesRandomCorruption) {
    std::mt19937 random(12345);
    const std::vector<uint8_t> good = EncodeSpoolFile(SmallJob());
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> bytes = good;
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < flips; ++i) bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        const size_t size = random() % (bytes.size() + 1);
        SpoolJob job;
        std::string error;
        if (Decode(bytes, size, &job, &error)) {
            // Whatever was accepted must encode back to the same bytes.
            EXPECT_EQ(EncodeSpoolFile(job),
                      std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)));
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
}

TEST(SpoolFile, ChecksTheOrderOfCalls) {
    std::string error;
    EXPECT_TRUE(CheckSpoolOrder(SmallJob(), &error)) << error;

    SpoolJob noStart = SmallJob();
    noStart.records.erase(noStart.records.begin());
    EXPECT_FALSE(CheckSpoolOrder(noStart, &error));
    EXPECT_EQ(error, "a job starts with StartDoc");

    SpoolJob noEnd = SmallJob();
    noEnd.records.pop_back();
    EXPECT_FALSE(CheckSpoolOrder(noEnd, &error));
    EXPECT_EQ(error, "a job ends with EndDoc");

    SpoolJob twoStarts = SmallJob();
    twoStarts.records.insert(twoStarts.records.begin() + 2, {SpoolCall::StartDoc, {}});
    EXPECT_FALSE(CheckSpoolOrder(twoStarts, &error));
    EXPECT_EQ(error, "record 3: StartDoc in the middle of the job");

    SpoolJob earlyEnd = SmallJob();
    earlyEnd.records.insert(earlyEnd.records.begin() + 1, {SpoolCall::EndDoc, {}});
    earlyEnd.records.insert(earlyEnd.records.begin() + 3, {SpoolCall::StartDoc, {}});
    EXPECT_FALSE(CheckSpoolOrder(earlyEnd, &error));
    EXPECT_EQ(error, "record 2: EndDoc in the middle of the job");

    SpoolJob endThenStart = SmallJob();
    endThenStart.records.back() = {SpoolCall::StartDoc, {}};
    endThenStart.records.push_back({SpoolCall::EndDoc, {}});
    EXPECT_FALSE(CheckSpoolOrder(endThenStart, &error));
    EXPECT_EQ(error, "record 6: StartDoc in the middle of the job");

    EXPECT_FALSE(CheckSpoolOrder(SpoolJob{}, &error));
    EXPECT_EQ(error, "a job starts with StartDoc");
}

class SpoolFileOnDisk : public zebl_test::TempFolderTest {};

TEST_F(SpoolFileOnDisk, WritesAndReadsBack) {
    const sys::WString path = temp_.Join(u"job.spl");
    std::string error;
    ASSERT_TRUE(WriteSpoolFile(path, SmallJob(), &error)) << error;
    SpoolJob job;
    ASSERT_TRUE(ReadSpoolFile(path, &job, &error)) << error;
    ExpectSameJob(job, SmallJob());
}

TEST_F(SpoolFileOnDisk, ReportsMissingAndCorruptFiles) {
    SpoolJob job;
    std::string error;
    EXPECT_FALSE(ReadSpoolFile(temp_.Join(u"missing.spl"), &job, &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;

    const sys::WString path = temp_.Join(u"short.spl");
    const std::vector<uint8_t> cut(kSmallJobBytes.begin(), kSmallJobBytes.begin() + 20);
    ASSERT_TRUE(WriteFileBytes(path, cut, &error)) << error;
    EXPECT_FALSE(ReadSpoolFile(path, &job, &error));
    EXPECT_NE(error.find("short.spl: byte offset 15: truncated: WritePrinter record of 3 bytes, 0 left"),
              std::string::npos)
        << error;
}

// ---- Reading one record at a time ---------------------------------------------------

// Files the streaming reader must read exactly as the decoder reads bytes
// in memory: the same records, or the same fault at the same offset.
std::vector<std::pair<std::string, std::vector<uint8_t>>> ReaderCases() {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> cases;
    cases.push_back({"small job", kSmallJobBytes});
    for (size_t size = 0; size < kSmallJobBytes.size(); ++size)
        cases.push_back(
            {"cut at " + std::to_string(size),
             {kSmallJobBytes.begin(), kSmallJobBytes.begin() + static_cast<std::ptrdiff_t>(size)}});
    for (size_t offset : {0, 4, 6, 15, 17, 24, 43}) {
        std::vector<uint8_t> bytes = kSmallJobBytes;
        bytes[offset] ^= 0x41;
        cases.push_back({"byte " + std::to_string(offset) + " changed", bytes});
    }
    std::vector<uint8_t> trailing = kSmallJobBytes;
    trailing.push_back(0);
    cases.push_back({"a byte after End", trailing});
    // Buffers larger than the reader's read-ahead, between small records.
    SpoolJob large;
    large.records.push_back({SpoolCall::StartDoc, {'x'}});
    for (size_t size : {65535, 65536, 65537, 300001}) {
        std::vector<uint8_t> data(size);
        for (size_t i = 0; i < size; ++i) data[i] = static_cast<uint8_t>(i * 13 + size);
        large.records.push_back({SpoolCall::WritePrinter, data});
        large.records.push_back({SpoolCall::StartPage, {}});
    }
    large.records.push_back({SpoolCall::EndDoc, {}});
    const std::vector<uint8_t> largeBytes = EncodeSpoolFile(large);
    cases.push_back({"large buffers", largeBytes});
    cases.push_back({"large buffers cut", {largeBytes.begin(), largeBytes.end() - 100000}});
    std::mt19937 random(777);
    for (int round = 0; round < 40; ++round) {
        std::vector<uint8_t> bytes = kSmallJobBytes;
        bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        cases.push_back({"corruption " + std::to_string(round), bytes});
    }
    return cases;
}

class SpoolReaderTest : public zebl_test::TempFolderTest {
protected:
    // Reads the file through the reader: its records (calls only without
    // data) and the fault, empty when it reached End.
    static std::string ReadAll(sys::WStringView path, bool withData, SpoolJob* job) {
        SpoolFileReader reader;
        std::string error;
        if (!reader.Open(path, &error)) return error;
        SpoolRecord record;
        for (;;) {
            const SpoolFileReader::Step step = reader.Next(&record, withData, &error);
            if (step == SpoolFileReader::Step::Fault) return error;
            if (step == SpoolFileReader::Step::End) return {};
            job->records.push_back(record);
        }
    }
};

TEST_F(SpoolReaderTest, ReadsEveryFileAsTheDecoderDoes) {
    const sys::WString path = temp_.Join(u"case.spl");
    const std::string prefix = sys::Narrow(path) + ": ";
    for (const auto& [name, bytes] : ReaderCases()) {
        SCOPED_TRACE(name);
        std::string error;
        ASSERT_TRUE(WriteFileBytes(path, bytes, &error)) << error;
        SpoolJob decoded;
        std::string decodeError;
        const bool decodes = Decode(bytes, bytes.size(), &decoded, &decodeError);
        SpoolJob read, calls;
        EXPECT_EQ(ReadAll(path, true, &read), decodes ? "" : prefix + decodeError);
        EXPECT_EQ(ReadAll(path, false, &calls), decodes ? "" : prefix + decodeError);
        if (!decodes) continue;
        ExpectSameJob(read, decoded);
        ASSERT_EQ(calls.records.size(), decoded.records.size());
        for (size_t i = 0; i < calls.records.size(); ++i) {
            EXPECT_EQ(calls.records[i].call, decoded.records[i].call);
            EXPECT_TRUE(calls.records[i].data.empty());
        }
    }
}

TEST_F(SpoolReaderTest, RefusesABufferOverItsLimitWhateverTheFilesLength) {
    SpoolJob job = SmallJob();
    job.records[1].data.assign(101, 7);
    const sys::WString path = temp_.Join(u"limit.spl");
    std::string error;
    ASSERT_TRUE(WriteSpoolFile(path, job, &error)) << error;
    for (const bool withData : {true, false}) {
        SpoolFileReader reader(100);
        ASSERT_TRUE(reader.Open(path, &error)) << error;
        SpoolRecord record;
        EXPECT_EQ(reader.Next(&record, withData, &error), SpoolFileReader::Step::Record);
        EXPECT_EQ(reader.Next(&record, withData, &error), SpoolFileReader::Step::Fault);
        EXPECT_EQ(error,
                  sys::Narrow(path) + ": byte offset 15: WritePrinter record of 101 bytes (at most 100)");
    }
}

TEST_F(SpoolReaderTest, ChecksAFileWithoutKeepingItAndNamesIt) {
    const sys::WString path = temp_.Join(u"order.spl");
    const std::string prefix = sys::Narrow(path) + ": ";
    std::string error;
    ASSERT_TRUE(WriteSpoolFile(path, SmallJob(), &error)) << error;
    EXPECT_TRUE(CheckSpoolFile(path, &error)) << error;

    SpoolJob noEnd = SmallJob();
    noEnd.records.pop_back();
    ASSERT_TRUE(WriteSpoolFile(path, noEnd, &error)) << error;
    EXPECT_FALSE(CheckSpoolFile(path, &error));
    EXPECT_EQ(error, prefix + "a job ends with EndDoc");

    const std::vector<uint8_t> cut(kSmallJobBytes.begin(), kSmallJobBytes.begin() + 20);
    ASSERT_TRUE(WriteFileBytes(path, cut, &error)) << error;
    EXPECT_FALSE(CheckSpoolFile(path, &error));
    EXPECT_EQ(error, prefix + "byte offset 15: truncated: WritePrinter record of 3 bytes, 0 left");

    EXPECT_FALSE(CheckSpoolFile(temp_.Join(u"missing.spl"), &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
}

}  // namespace
