// Paper sizes: the printable area and margins of each Windows paper code, in
// 1/300 inch, and their size in dots at a given resolution.
#pragma once

#include <cstdint>

struct PaperEntry {
    uint16_t code;        // Windows paper code (DMPAPER_*)
    const char* name;     // display name
    uint16_t unit;        // 1000 = 1/1000 inch, 254 = 1/10 mm
    uint16_t paperWidth;  // paper size in that unit
    uint16_t paperHeight;
    uint16_t printableWidth;  // 1/300 inch
    uint16_t printableHeight;
    uint16_t marginLeft, marginTop, marginRight, marginBottom;  // 1/300 inch
};

constexpr int kPaperTableEntries = 42;
extern const PaperEntry aPaperTable[kPaperTableEntries];

// The entry for a paper code, or null when the table has none.
const PaperEntry* FindPaper(uint32_t paperCode);

// Printable width and height, and the four margins, of a table entry in
// dots at `resolution`.
void PaperPrintableDots(const PaperEntry& paper, uint32_t resolution, uint32_t* width, uint32_t* height);
void PaperMarginDots(const PaperEntry& paper, uint32_t resolution, uint32_t* left, uint32_t* top,
                     uint32_t* right, uint32_t* bottom);

// Printable width and height in dots; 1, or 0 for an unknown code (outputs
// untouched).
int GetPageDimension(uint32_t paperCode, uint32_t* width, uint32_t* height, uint32_t resolution);

// The four margins in dots; 1, or 0 for an unknown code (outputs untouched).
int GetPageMargin(uint32_t paperCode, uint32_t* left, uint32_t* top, uint32_t* right, uint32_t* bottom,
                  uint32_t resolution);
