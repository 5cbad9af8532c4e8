#include "pipeline/page_geometry.h"

namespace {

constexpr uint16_t kInch = 1000;   // sizes in 1/1000 inch
constexpr uint16_t kMetric = 254;  // sizes in 1/10 mm
constexpr uint16_t kMargin = 50;   // every margin is 1/6 inch

constexpr PaperEntry Paper(uint16_t code, const char* name, uint16_t unit, uint16_t w, uint16_t h,
                           uint16_t pw, uint16_t ph) {
    return PaperEntry{code, name, unit, w, h, pw, ph, kMargin, kMargin, kMargin, kMargin};
}

// Converts 1/300 inch to dots at `resolution`, truncating.
uint32_t ToDots(uint32_t value, uint32_t resolution) { return value * resolution / 300; }

}  // namespace

const PaperEntry aPaperTable[kPaperTableEntries] = {
    Paper(0, "Unknown", kInch, 8500, 14000, 2450, 4100),
    Paper(1, "Letter 8 1/2 x 11\"", kInch, 8500, 11000, 2450, 3200),
    Paper(2, "Letter Small 8 1/2 x 11\"", kInch, 8500, 11000, 2450, 3200),
    Paper(3, "Tabloid 11 x 17\"", kInch, 11000, 17000, 3200, 5000),
    Paper(4, "Ledger 17 x 11\"", kInch, 17000, 11000, 5000, 3200),
    Paper(5, "Legal 8 1/2 x 14\"", kInch, 8500, 14000, 2450, 4100),
    Paper(6, "Statement 5 1/2 x 8 1/2\"", kInch, 5500, 8500, 1550, 2450),
    Paper(7, "Executive 7 1/4 x 10 1/2\"", kInch, 7250, 10500, 2075, 3050),
    Paper(8, "A3 297 x 420 mm", kMetric, 2970, 4200, 3407, 4860),
    Paper(9, "A4 210 x 297 mm", kMetric, 2100, 2970, 2380, 3407),
    Paper(10, "A4 Small 210 x 297 mm", kMetric, 2100, 2970, 2380, 3407),
    Paper(11, "A5 148 x 210 mm", kMetric, 1480, 2100, 1648, 2380),
    Paper(12, "B4 (JIS) 250 x 354 mm", kMetric, 2570, 3640, 2935, 4199),
    Paper(13, "B5 (JIS) 182 x 257 mm", kMetric, 1820, 2570, 2049, 2935),
    Paper(14, "Folio 8 1/2 x 13\"", kInch, 8500, 13000, 2450, 3800),
    Paper(15, "Quarto 215 x 275 mm", kMetric, 2150, 2750, 2439, 3148),
    Paper(16, "10 x 14\"", kInch, 10000, 14000, 2900, 4100),
    Paper(17, "11 x 17\"", kInch, 11000, 17000, 3200, 5000),
    Paper(18, "Note 8 1/2 x 11\"", kInch, 8500, 11000, 2450, 3200),
    Paper(19, "Env:#9 3 7/8 x 8 7/8\"", kInch, 3875, 8875, 1063, 2562),
    Paper(20, "Env:#10 4 1/8 x 9 1/2\"", kInch, 4125, 9500, 1137, 2750),
    Paper(21, "Env:#11 4 1/2 x 10 3/8\"", kInch, 4500, 10375, 1250, 3013),
    Paper(22, "Env:#12 4 3/4 x 11\"", kInch, 4500, 11000, 1250, 3200),
    Paper(23, "Env:#14 5 x 11 1/2\"", kInch, 5000, 11500, 1400, 3350),
    Paper(24, "C size sheet", kInch, 8500, 11000, 2450, 3200),
    Paper(25, "D size sheet", kInch, 8500, 11000, 2450, 3200),
    Paper(26, "E size sheet", kInch, 8500, 11000, 2450, 3200),
    Paper(27, "Env:DL 110 x 220mm", kMetric, 1100, 2200, 1199, 2498),
    Paper(28, "Env:C5 162 x 229 mm", kMetric, 1620, 2290, 1813, 2604),
    Paper(29, "Env:C3  324 x 458 mm", kMetric, 3240, 4580, 3727, 5309),
    Paper(30, "Env:C4  229 x 324 mm", kMetric, 2290, 3240, 2605, 3727),
    Paper(31, "Env:C6 114 x 162 mm", kMetric, 1140, 1620, 1246, 1813),
    Paper(32, "Env:C65 114 x 229 mm", kMetric, 1140, 2290, 1246, 2605),
    Paper(33, "Env:B4  250 x 353 mm", kMetric, 2500, 3530, 2853, 4069),
    Paper(34, "ENV:B5 176 x 250 mm", kMetric, 1760, 2500, 1978, 2852),
    Paper(35, "Env:B6  176 x 125 mm", kMetric, 1760, 1250, 1979, 1376),
    Paper(36, "Env. 110 x 230 mm", kMetric, 1100, 2300, 1199, 2617),
    Paper(37, "Env:Monarch 3 7/8 x 7 1/2\"", kInch, 3875, 7500, 1062, 2150),
    Paper(38, "Env:6 3/4 Env. 3 5/8 x 6 1/2\"", kInch, 3625, 6500, 988, 1850),
    Paper(39, "US Std Fanfold 14 7/8 x 11\"", kInch, 14875, 11000, 4363, 3200),
    Paper(70, "A6 105 x 148 mm", kMetric, 1050, 1480, 1140, 1648),
    Paper(256, "Custom Paper Size", kInch, 8500, 14000, 2450, 4100),
};

const PaperEntry* FindPaper(uint32_t paperCode) {
    for (const PaperEntry& entry : aPaperTable) {
        if (entry.code == paperCode) return &entry;
    }
    return nullptr;
}

void PaperPrintableDots(const PaperEntry& paper, uint32_t resolution, uint32_t* width, uint32_t* height) {
    *width = ToDots(paper.printableWidth, resolution);
    *height = ToDots(paper.printableHeight, resolution);
}

void PaperMarginDots(const PaperEntry& paper, uint32_t resolution, uint32_t* left, uint32_t* top,
                     uint32_t* right, uint32_t* bottom) {
    *left = ToDots(paper.marginLeft, resolution);
    *top = ToDots(paper.marginTop, resolution);
    *right = ToDots(paper.marginRight, resolution);
    *bottom = ToDots(paper.marginBottom, resolution);
}

int GetPageDimension(uint32_t paperCode, uint32_t* width, uint32_t* height, uint32_t resolution) {
    const PaperEntry* paper = FindPaper(paperCode);
    if (!paper) return 0;
    PaperPrintableDots(*paper, resolution, width, height);
    return 1;
}

int GetPageMargin(uint32_t paperCode, uint32_t* left, uint32_t* top, uint32_t* right, uint32_t* bottom,
                  uint32_t resolution) {
    const PaperEntry* paper = FindPaper(paperCode);
    if (!paper) return 0;
    PaperMarginDots(*paper, resolution, left, top, right, bottom);
    return 1;
}
