// zebl: the command-line tool around the printer stream.
//
//   zebl decode [--bands] FILE.prn   parse and check a printer stream, print a report
//
// Exit code 0 on success, 1 when the stream is malformed or cannot be read,
// 2 for a wrong command line.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "decode/stream_decoder.h"
#include "decode/stream_report.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: zebl decode [--bands] FILE.prn\n");
    return 2;
}

bool ReadWholeFile(const char* path, std::vector<uint8_t>* bytes, std::string* error) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) {
        *error = std::string("cannot open ") + path + ": " + std::strerror(errno);
        return false;
    }
    uint8_t block[65536];
    size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
        bytes->insert(bytes->end(), block, block + got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) *error = std::string("cannot read ") + path;
    return !failed;
}

int Decode(int argc, char** argv) {
    ReportOptions report;
    const char* path = nullptr;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--bands") == 0) {
            report.listBands = true;
        } else if (!path && argv[i][0] != '-') {
            path = argv[i];
        } else {
            return Usage();
        }
    }
    if (!path) return Usage();

    std::vector<uint8_t> stream;
    std::string error;
    if (!ReadWholeFile(path, &stream, &error)) {
        std::fprintf(stderr, "zebl decode: %s\n", error.c_str());
        return 1;
    }
    // The report needs sizes and dot counts only, so each page's bitmaps are
    // dropped once it is counted: long jobs then fit in memory.
    DecodeOptions options;
    options.keepPlanes = false;
    DecodedJob job;
    if (!DecodeStream(stream.data(), stream.size(), options, &job, &error)) {
        std::fprintf(stderr, "zebl decode: %s: %s\n", path, error.c_str());
        return 1;
    }
    const std::string text = FormatStreamReport(job, report);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "decode") == 0) return Decode(argc, argv);
    return Usage();
}
