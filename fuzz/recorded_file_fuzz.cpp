// Feeds arbitrary bytes, as a recorded data file (an overlay, a watermark,
// a spooled page), to the reader that loads such files into command lists.
// Nothing may crash or read out of bounds, and:
//   - a list never holds more bytes than the file had;
//   - the records read, written out again as a recording does it, read back
//     as the same pieces (and a file read whole comes back byte for byte);
//   - an overlay goes in front of the page's own bytes, a watermark between
//     its brackets, whatever the file holds.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "pipeline/cmd_list.h"
#include "pipeline/cmd_writer.h"
#include "pipeline/job_spool.h"
#include "sys/files.h"
#include "sys/temp_files.h"

namespace {

// The two files of this process in the temporary folder, removed at exit.
struct ScratchFiles {
    sys::WString input, copy;
    ScratchFiles() {
        const sys::WString temp = sys::GetTempPath();
        input = sys::GetTempFileName(temp, u"rfi");
        copy = sys::GetTempFileName(temp, u"rfo");
        if (input.empty() || copy.empty()) std::abort();
    }
    ~ScratchFiles() {
        sys::DeleteFile(input);
        sys::DeleteFile(copy);
    }
};

const ScratchFiles& Files() {
    static const ScratchFiles files;
    return files;
}

void WriteFile(const sys::WString& path, const uint8_t* data, size_t size) {
    sys::File file = sys::File::CreateAlways(path);
    uint32_t written = 0;
    if (!file.IsOpen() || (size != 0 && !file.Write(data, static_cast<uint32_t>(size), &written)) ||
        written != size) {
        std::abort();
    }
}

std::vector<uint8_t> Concatenated(const FBCmdList& list) {
    std::vector<uint8_t> bytes;
    for (const FBCmdBuffer& buffer : list.buffers)
        bytes.insert(bytes.end(), buffer.data.get(), buffer.data.get() + buffer.used);
    return bytes;
}

bool SamePieces(const FBCmdList& a, const FBCmdList& b) {
    const std::vector<FBCmdPiece> x = FBCmdListPieces(&a), y = FBCmdListPieces(&b);
    if (x.size() != y.size()) return false;
    for (size_t i = 0; i < x.size(); ++i) {
        if (x[i].length != y[i].length || x[i].tag != y[i].tag) return false;
        if (x[i].length != 0 && std::memcmp(x[i].data, y[i].data, x[i].length) != 0) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    const ScratchFiles& files = Files();
    WriteFile(files.input, data, size);

    FBCmdList records;
    FBCmdListInit(&records, kCmdWithHeaders);
    const int whole = FBCmdBufferAddDataFromFile(&records, files.input);
    const std::vector<uint8_t> read = Concatenated(records);
    if (read.size() > size) std::abort();
    // The records read are the file's first bytes; all of them when it was whole.
    if (!read.empty() && std::memcmp(read.data(), data, read.size()) != 0) std::abort();
    if (whole && read.size() != size) std::abort();

    FBJobSpool spool;
    if (!FBJobSpoolInit(&spool, files.copy) || !FBJobSpoolAddDataFromCmdBuffer(&spool, &records))
        std::abort();
    spool.dataFile.Close();
    FBCmdList again;
    FBCmdListInit(&again, kCmdWithHeaders);
    if (!FBCmdBufferAddDataFromFile(&again, files.copy) || !SamePieces(records, again)) std::abort();

    // An overlay under a page: the page's own bytes stay last.
    static const uint8_t kPage[] = {0x53, 4, 4};
    FBCmdList page;
    FBCmdListInit(&page, kCmdPlain);
    FBCmdListAddData(&page, kPage, sizeof kPage, 0);
    FBCmdLoadOverlay(&page, files.input);
    const std::vector<uint8_t> merged = Concatenated(page);
    if (merged.size() < sizeof kPage ||
        std::memcmp(merged.data() + merged.size() - sizeof kPage, kPage, sizeof kPage) != 0) {
        std::abort();
    }

    // A watermark between its brackets, even from a damaged file.
    FBCmdList stamped;
    FBCmdListInit(&stamped, kCmdPlain);
    FBCmdLoadWatermark(&stamped, files.input, files.input, 0, 1, 0);
    const std::vector<uint8_t> watermark = Concatenated(stamped);
    if (watermark.size() < 2 || watermark.front() != 0x90 || watermark.back() != 0x91) std::abort();
    return 0;
}
