#include "decode/stream_report.h"

#include <array>
#include <cstdarg>
#include <cstdio>

#include "decode/plane_decoder.h"

namespace {

const char* PlaneName(uint8_t planeId) {
    static const char* const names[] = {"cyan", "magenta", "yellow", "black"};
    return planeId >= 1 && planeId <= 4 ? names[planeId - 1] : "?";
}

// The three compression codes in report order.
constexpr std::array<uint8_t, 3> kCodes = {kCompressRaw, kCompressOffsetTable, kCompressLzw};

const char* CompressionName(uint8_t code) {
    switch (code) {
        case kCompressRaw: return "raw";
        case kCompressOffsetTable: return "offset table";
        case kCompressLzw: return "LZW";
        default: return "?";
    }
}

size_t CodeSlot(uint8_t code) {
    for (size_t i = 0; i < kCodes.size(); ++i) {
        if (kCodes[i] == code) return i;
    }
    return 0;
}

struct Tally {
    uint64_t planes = 0;
    uint64_t bytes = 0;
};

// The mingw runtime's printf family follows C99 here (%zu, %llu), which GCC
// calls gnu_printf there; clang knows only printf.
#if defined(__MINGW32__) && !defined(__clang__)
#define ZEBL_PRINTF_FORMAT gnu_printf
#else
#define ZEBL_PRINTF_FORMAT printf
#endif
void Printf(std::string* out, const char* format, ...) __attribute__((format(ZEBL_PRINTF_FORMAT, 2, 3)));
void Printf(std::string* out, const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    *out += line;
}

void AddMix(std::string* out, const char* indent, const std::array<Tally, 3>& mix) {
    for (size_t i = 0; i < kCodes.size(); ++i) {
        Printf(out, "%s0x%02X %-12s %6llu planes %12llu bytes\n", indent, kCodes[i],
               CompressionName(kCodes[i]), static_cast<unsigned long long>(mix[i].planes),
               static_cast<unsigned long long>(mix[i].bytes));
    }
}

void AddHeader(std::string* out, const DecodedPage& page, size_t number) {
    const DecodedPageHeader& h = page.header;
    Printf(out, "Page %zu (byte offset %zu)\n", number, page.offset);
    Printf(out, "  resolution %u dpi, %u x %u dots, copies %u (trailer %u)\n", h.resolutionCode * 100u,
           h.width, h.height, h.copies, page.trailerCopies);
    Printf(out, "  paper size code %u, paper source code %u, long edge %u, odd page %u\n", h.paperSize,
           h.paperSource, h.longEdge, h.oddPage);
}

void AddBands(std::string* out, const DecodedPage& page) {
    for (const DecodedBand& band : page.bands) {
        Printf(out, "    band %u (number %u) lines %u-%u, %u dots wide, byte offset %zu\n", band.index,
               band.number, band.firstLine, band.firstLine + band.lines - 1, band.widthDots, band.offset);
        for (const DecodedPlaneRecord& p : band.planes) {
            Printf(out, "      plane %u %-7s 0x%02X %8u bytes %10llu dots\n", p.planeId, PlaneName(p.planeId),
                   p.compression, p.dataSize, static_cast<unsigned long long>(p.dots));
        }
    }
}

void AddPage(std::string* out, const DecodedPage& page, size_t number, const ReportOptions& options,
             std::array<Tally, 3>* jobMix) {
    AddHeader(out, page, number);
    std::array<Tally, 3> mix{};
    std::array<Tally, 4> perPlane{};
    uint64_t planeRecords = 0;
    for (const DecodedBand& band : page.bands) {
        for (const DecodedPlaneRecord& p : band.planes) {
            Tally& t = mix[CodeSlot(p.compression)];
            ++t.planes;
            t.bytes += p.dataSize;
            ++perPlane[(p.planeId - 1) & 3].planes;
            perPlane[(p.planeId - 1) & 3].bytes += p.dataSize;
            ++planeRecords;
        }
    }
    if (page.bands.empty()) {
        Printf(out, "  no bands (a white page)\n");
    } else {
        Printf(out, "  band records: %zu of %u x %u dots, holding %llu planes\n", page.bands.size(),
               page.bands.front().widthDots, page.bands.front().lines,
               static_cast<unsigned long long>(planeRecords));
    }
    for (uint8_t id = 1; id <= 4; ++id) {
        const Tally& t = perPlane[id - 1];
        if (t.planes == 0) continue;
        Printf(out, "  plane %u %-7s in %llu bands: %llu bytes, %llu dots\n", id, PlaneName(id),
               static_cast<unsigned long long>(t.planes), static_cast<unsigned long long>(t.bytes),
               static_cast<unsigned long long>(page.Plane(id).dots));
    }
    if (page.dotsOutsidePage != 0) {
        Printf(out, "  dots right of or below the page: %llu\n",
               static_cast<unsigned long long>(page.dotsOutsidePage));
    }
    if (planeRecords != 0) {
        Printf(out, "  compression:\n");
        AddMix(out, "    ", mix);
    }
    if (options.listBands) AddBands(out, page);
    for (size_t i = 0; i < mix.size(); ++i) {
        (*jobMix)[i].planes += mix[i].planes;
        (*jobMix)[i].bytes += mix[i].bytes;
    }
}

}  // namespace

std::string FormatStreamReport(const DecodedJob& job, const ReportOptions& options) {
    std::string out;
    Printf(&out, "Job: %zu page%s, language %s\n", job.pages.size(), job.pages.size() == 1 ? "" : "s",
           job.language.c_str());
    Printf(&out, "PJL settings:\n");
    for (const PjlVariable& v : job.pjl) {
        Printf(&out, "  %s %s = %s\n", v.command.c_str(), v.name.c_str(), v.value.c_str());
    }
    for (const std::string& line : job.otherPjlLines) Printf(&out, "  %s\n", line.c_str());
    std::array<Tally, 3> jobMix{};
    for (size_t i = 0; i < job.pages.size(); ++i) AddPage(&out, job.pages[i], i + 1, options, &jobMix);
    Printf(&out, "Compression of the job:\n");
    AddMix(&out, "  ", jobMix);
    return out;
}
