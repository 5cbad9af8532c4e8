// Feeds arbitrary bytes to the printer stream parser. When the first byte is
// odd the rest follows a ready job header (universal exit and the language
// switch), so that the fuzzer reaches pages and bands quickly; tests/data/
// streams/*.prn make a good seed corpus. Nothing may crash or read out of
// bounds; a refusal must say where, and an accepted stream must account for
// every dot of its band planes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "decode/stream_decoder.h"

namespace {

void CheckDots(const DecodedJob& job) {
    for (const DecodedPage& page : job.pages) {
        uint64_t bandDots = 0;
        for (const DecodedBand& band : page.bands) {
            for (const DecodedPlaneRecord& plane : band.planes) bandDots += plane.dots;
        }
        uint64_t pageDots = page.dotsOutsidePage;
        for (const PagePlane& plane : page.planes) pageDots += plane.dots;
        if (pageDots != bandDots) std::abort();
        if (page.trailerCopies != page.header.copies) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const std::string kHeader = std::string("\x1B%-12345X", 9) + "@PJL ENTER LANGUAGE = ZEBL\r\n";
    std::vector<uint8_t> stream;
    if (data[0] & 1) stream.assign(kHeader.begin(), kHeader.end());
    stream.insert(stream.end(), data + 1, data + size);

    DecodeOptions options;
    options.maxBandPlaneBytes = 1 << 16;
    options.maxPagePlaneBytes = 1 << 20;
    options.maxKeptPlaneBytes = 1 << 22;
    DecodedJob job;
    std::string error;
    if (DecodeStream(stream.data(), stream.size(), options, &job, &error)) {
        CheckDots(job);
    } else if (error.rfind("byte offset ", 0) != 0) {
        std::abort();
    }
    return 0;
}
