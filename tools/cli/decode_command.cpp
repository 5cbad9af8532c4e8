// zebl decode [--bands] [--png PREFIX [--scale N]] FILE.prn: parses and
// checks a printer stream, prints a report and, when asked, writes each page
// as a picture PREFIX-<page>.png (PNM where PNG is not available).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "decode/stream_decoder.h"
#include "decode/stream_report.h"
#include "image/image_file.h"
#include "image/page_picture.h"
#include "image/png_codec.h"
#include "job/file_bytes.h"
#include "job/scene_args.h"

namespace {

constexpr uint64_t kMaxStreamBytes = uint64_t{2} << 30;

bool WritePictures(const DecodedJob& job, const std::string& prefix, uint32_t factor) {
    if (!PngAvailable())
        std::fprintf(stderr, "zebl decode: PNG is not available in this build; writing PNM pictures\n");
    for (size_t i = 0; i < job.pages.size(); ++i) {
        Image8 picture;
        if (!MakePagePicture(job.pages[i], factor, &picture)) {
            std::fprintf(stderr, "zebl decode: page %zu has no size; no picture\n", i + 1);
            continue;
        }
        const std::string name = prefix + "-" + std::to_string(i + 1) + PictureExtension();
        std::string error;
        if (!WritePictureFile(sys::Widen(name), picture, &error)) {
            std::fprintf(stderr, "zebl decode: %s\n", error.c_str());
            return false;
        }
        std::printf("picture %s: %u x %u, %s\n", name.c_str(), picture.width, picture.height,
                    picture.IsColour() ? "colour" : "grey");
    }
    return true;
}

}  // namespace

int DecodeCommand(int argc, char** argv) {
    ReportOptions report;
    const char* path = nullptr;
    const char* prefix = nullptr;
    uint32_t factor = 1;
    for (int i = 2; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--bands") == 0) {
            report.listBands = true;
        } else if (std::strcmp(argv[i], "--png") == 0 && hasValue) {
            prefix = argv[++i];
        } else if (std::strcmp(argv[i], "--scale") == 0 && hasValue) {
            const auto value = ParseUnsigned(argv[++i]);
            if (!value || *value == 0 || *value > 64) {
                std::fprintf(stderr, "zebl decode: --scale takes a factor from 1 to 64\n");
                return 2;
            }
            factor = static_cast<uint32_t>(*value);
        } else if (!path && argv[i][0] != '-') {
            path = argv[i];
        } else {
            std::fputs(kDecodeUsage, stderr);
            return 2;
        }
    }
    if (!path) {
        std::fputs(kDecodeUsage, stderr);
        return 2;
    }
    std::vector<uint8_t> stream;
    std::string error;
    if (!ReadFileBytes(sys::Widen(path), kMaxStreamBytes, &stream, &error)) {
        std::fprintf(stderr, "zebl decode: %s\n", error.c_str());
        return 1;
    }
    // The report needs sizes and dot counts only; pictures need the bitmaps.
    DecodeOptions options;
    options.keepPlanes = prefix != nullptr;
    DecodedJob job;
    if (!DecodeStream(stream.data(), stream.size(), options, &job, &error)) {
        std::fprintf(stderr, "zebl decode: %s: %s\n", path, error.c_str());
        return 1;
    }
    const std::string text = FormatStreamReport(job, report);
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (prefix && !WritePictures(job, prefix, factor)) return 1;
    return 0;
}
