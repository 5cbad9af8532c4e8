// `zebl print` and where its document goes: a file is replaced only by a
// whole document, a device or pipe is written as it is (a FIFO stands in for
// /dev/null), "-" is standard output with nothing else in it, and a folder
// or a missing folder is refused before any work.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#endif

#include "cli/commands.h"
#include "decode/stream_decoder.h"
#include "job/scene.h"
#include "support/temp_folder.h"
#include "support/test_printer.h"
#include "sys/files.h"

namespace {

// Two grey pages at 300 dpi.
const char kScene[] =
    "resolution 300\n"
    "page\n"
    "box 20 10 40 30\n"
    "page\n"
    "box 0 0 5 5\n";

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

bool WriteWholeFile(sys::WStringView path, const std::vector<uint8_t>& bytes) {
    sys::File file = sys::File::CreateAlways(path);
    uint32_t written = 0;
    return file.IsOpen() && file.Write(bytes.data(), static_cast<uint32_t>(bytes.size()), &written);
}

std::vector<uint8_t> ReadStream(std::FILE* file) {
    std::vector<uint8_t> bytes;
    std::rewind(file);
    uint8_t chunk[65536];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + got);
    return bytes;
}

class PrintCommandTest : public zebl_test::TempFolderTest {
protected:
    void SetUp() override {
        SpoolJob job;
        std::string error;
        ASSERT_TRUE(ComposeScene(kScene, {}, &job, &error)) << error;
        spool_ = sys::Narrow(temp_.Join(u"job.spl"));
        ASSERT_TRUE(WriteSpoolFile(sys::Widen(spool_), job, &error)) << error;
        out_ = std::tmpfile();
        ASSERT_NE(out_, nullptr);
    }
    void TearDown() override {
        if (out_) std::fclose(out_);
    }

    // zebl print <spool> -o <output> <more>; stderr is kept in errors_ and
    // standard output goes to out_.
    int Print(const std::string& output, std::vector<std::string> more = {}) {
        std::vector<std::string> args = {"zebl", "print", spool_, "-o", output};
        args.insert(args.end(), more.begin(), more.end());
        std::vector<char*> argv;
        argv.reserve(args.size());
        for (std::string& arg : args) argv.push_back(arg.data());
        testing::internal::CaptureStderr();
        const int code = PrintCommand(static_cast<int>(argv.size()), argv.data(), out_);
        errors_ = testing::internal::GetCapturedStderr();
        return code;
    }

    // What went to standard output, as text.
    std::string Messages() {
        const std::vector<uint8_t> bytes = ReadStream(out_);
        return std::string(bytes.begin(), bytes.end());
    }

    static void ExpectTwoPages(const std::vector<uint8_t>& stream) {
        DecodedJob decoded;
        std::string error;
        ASSERT_TRUE(DecodeStream(stream.data(), stream.size(), &decoded, &error)) << error;
        EXPECT_EQ(decoded.pages.size(), 2u);
    }

    // Nothing of ours is left in the test's folder.
    void ExpectNoTemporaryFiles() {
        for (const sys::DirEntry& entry : sys::ListDirectory(temp_.Join(u"*.tmp")))
            ADD_FAILURE() << "left behind: " << sys::Narrow(entry.name);
    }

    std::string spool_;
    std::FILE* out_ = nullptr;
    std::string errors_;
};

TEST_F(PrintCommandTest, WritesANewFileAndReplacesAnOldOne) {
    const sys::WString path = temp_.Join(u"out.prn");
    ASSERT_EQ(Print(sys::Narrow(path)), 0) << errors_;
    const std::vector<uint8_t> fresh = zebl_test::ReadWholeFile(path);
    ExpectTwoPages(fresh);
    ASSERT_TRUE(WriteWholeFile(path, Bytes("an older, longer document than nothing")));
    ASSERT_EQ(Print(sys::Narrow(path)), 0) << errors_;
    EXPECT_EQ(zebl_test::ReadWholeFile(path), fresh);
    ExpectNoTemporaryFiles();
    // The summary goes to standard output.
    EXPECT_NE(Messages().find("2 pages ended"), std::string::npos);
}

TEST_F(PrintCommandTest, StandardOutputCarriesTheDocumentAlone) {
    const sys::WString path = temp_.Join(u"out.prn");
    ASSERT_EQ(Print(sys::Narrow(path)), 0) << errors_;
    std::fclose(out_);
    out_ = std::tmpfile();
    ASSERT_EQ(Print("-"), 0) << errors_;
    // The same bytes as the file, with the summary on stderr.
    EXPECT_EQ(ReadStream(out_), zebl_test::ReadWholeFile(path));
    EXPECT_NE(errors_.find("2 pages ended"), std::string::npos) << errors_;
    EXPECT_NE(errors_.find("printed"), std::string::npos) << errors_;
}

TEST_F(PrintCommandTest, StatsReportPagesSpeedAndPeakMemory) {
    const sys::WString path = temp_.Join(u"out.prn");
    ASSERT_EQ(Print(sys::Narrow(path), {"--stats"}), 0) << errors_;
    ExpectTwoPages(zebl_test::ReadWholeFile(path));
    const std::string messages = Messages();
    EXPECT_NE(messages.find("stats: 2 pages in "), std::string::npos) << messages;
    EXPECT_NE(messages.find(" pages per minute, peak memory "), std::string::npos) << messages;
    // This process has run a whole print job: its peak is known and above 1 MB.
    EXPECT_EQ(messages.find("peak memory 0 MB"), std::string::npos) << messages;
    EXPECT_EQ(messages.find("peak memory not known"), std::string::npos) << messages;
}

TEST_F(PrintCommandTest, RefusesAFolderBeforeAnyWork) {
    // A library that does not exist would be reported if the tool got that far.
    EXPECT_EQ(Print(sys::Narrow(temp_.Path()), {"--library", "missing.dll"}), 1);
    EXPECT_NE(errors_.find("is a folder"), std::string::npos) << errors_;
    ExpectNoTemporaryFiles();
    EXPECT_EQ(sys::GetPathKind(temp_.Path()), sys::PathKind::Folder);
}

TEST_F(PrintCommandTest, RefusesAReadOnlyFileBeforeAnyWork) {
    const sys::WString path = temp_.Join(u"kept.prn");
    const std::vector<uint8_t> old = Bytes("kept");
    ASSERT_TRUE(WriteWholeFile(path, old));
    ASSERT_TRUE(sys::SetFileAttributes(path, sys::kAttrReadOnly));
    EXPECT_EQ(Print(sys::Narrow(path), {"--library", "missing.dll"}), 1);
    EXPECT_NE(errors_.find("is read-only"), std::string::npos) << errors_;
    EXPECT_EQ(zebl_test::ReadWholeFile(path), old);
    ExpectNoTemporaryFiles();
}

TEST_F(PrintCommandTest, ReportsAMissingFolderBeforeAnyWork) {
    EXPECT_EQ(Print(sys::Narrow(temp_.Join(u"no such folder\\out.prn")), {"--library", "missing.dll"}), 1);
    EXPECT_NE(errors_.find("does not exist"), std::string::npos) << errors_;
    EXPECT_EQ(sys::GetPathKind(temp_.Join(u"no such folder")), sys::PathKind::Missing);
}

TEST_F(PrintCommandTest, AFailedJobKeepsTheOldFileIntact) {
    const sys::WString path = temp_.Join(u"out.prn");
    const std::vector<uint8_t> old = Bytes("the document of an earlier run");
    ASSERT_TRUE(WriteWholeFile(path, old));
    // A job that cannot start.
    EXPECT_EQ(Print(sys::Narrow(path), {"--printer", "no such printer"}), 1);
    EXPECT_NE(errors_.find("cannot open printer"), std::string::npos) << errors_;
    EXPECT_EQ(zebl_test::ReadWholeFile(path), old);
    ExpectNoTemporaryFiles();
    // A job whose pages fail at the printer.
    if (!zebl_test::TestPrinter::FaultsSupported()) GTEST_SKIP() << "no failure injection";
    zebl_test::PrinterFaults faults;
    faults.failEndPage = 5;
    zebl_test::TestPrinter printer(temp_, faults);
    ASSERT_TRUE(printer.Ready());
    EXPECT_EQ(Print(sys::Narrow(path), {"--printer", sys::Narrow(printer.Name())}), 1);
    EXPECT_NE(errors_.find("was not written"), std::string::npos) << errors_;
    EXPECT_EQ(zebl_test::ReadWholeFile(path), old);
    ExpectNoTemporaryFiles();
    // A new file is not made at all.
    const sys::WString fresh = temp_.Join(u"new.prn");
    EXPECT_EQ(Print(sys::Narrow(fresh), {"--printer", sys::Narrow(printer.Name())}), 1);
    EXPECT_EQ(sys::GetPathKind(fresh), sys::PathKind::Missing);
    ExpectNoTemporaryFiles();
}

#if !defined(_WIN32)
// A FIFO in a host folder of its own, drained by a reader thread as a device
// would take the bytes. The reader's end is open before the print starts:
// the system layer opens the FIFO for reading and writing, so its open never
// waits for a reader, and bytes still in the pipe when the last end closes
// are gone.
class FifoOutput {
public:
    FifoOutput() {
        const char* tmp = std::getenv("TMPDIR");
        std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/zebl-fifo-XXXXXX";
        if (::mkdtemp(folder.data()) == nullptr) return;
        folder_ = folder;
        path_ = folder_ + "/printer";
        if (::mkfifo(path_.c_str(), 0600) != 0) path_.clear();
    }
    ~FifoOutput() {
        if (reader_.joinable()) Drained();
        if (fd_ >= 0) ::close(fd_);
        if (!path_.empty()) ::unlink(path_.c_str());
        if (!folder_.empty()) ::rmdir(folder_.c_str());
    }
    const std::string& Path() const { return path_; }
    bool StillAFifo() const {
        struct stat info;
        return ::stat(path_.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
    }
    // Opens the reading end (without waiting for a writer) and starts
    // taking what comes.
    bool StartReading() {
        fd_ = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK);
        if (fd_ < 0) return false;
        reader_ = std::thread([this] {
            // Until the print is over an empty pipe (no writer yet, or one
            // between writes) is waited on; once it is over, the writer's end
            // is closed and one more drain takes the rest.
            for (;;) {
                const bool over = over_;
                const bool took = TakeAvailable();
                if (over) return;
                if (!took) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        return true;
    }
    // The bytes once the print is over (the writer has closed its end).
    std::vector<uint8_t> Drained() {
        over_ = true;
        reader_.join();
        return bytes_;
    }

private:
    // Reads what the pipe holds now; whether there was anything.
    bool TakeAvailable() {
        uint8_t chunk[4096];
        bool took = false;
        for (ssize_t got; (got = ::read(fd_, chunk, sizeof chunk)) > 0; took = true)
            bytes_.insert(bytes_.end(), chunk, chunk + got);
        return took;
    }

    std::string folder_;
    std::string path_;
    int fd_ = -1;
    std::thread reader_;
    std::atomic<bool> over_{false};
    std::vector<uint8_t> bytes_;
};

TEST_F(PrintCommandTest, ADeviceIsWrittenAsItIs) {
    FifoOutput fifo;
    ASSERT_FALSE(fifo.Path().empty());
    ASSERT_TRUE(fifo.StartReading());
    ASSERT_EQ(Print(fifo.Path()), 0) << errors_ << Messages();
    ExpectTwoPages(fifo.Drained());
    EXPECT_TRUE(fifo.StillAFifo());
    EXPECT_EQ(sys::GetPathKind(sys::Widen(fifo.Path())), sys::PathKind::Device);
    // Deleting a device through the system layer is refused.
    EXPECT_FALSE(sys::DeleteFile(sys::Widen(fifo.Path())));
    EXPECT_TRUE(fifo.StillAFifo());
}
#endif

}  // namespace
