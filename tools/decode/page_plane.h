// One printer plane of a whole page, reassembled from the planes of its band
// records: 1 bit per dot, most significant bit first, 0 = dot, 1 = no dot, as
// the printer receives them. Bits right of the page width in each row's last
// byte are kept 1, so that counting zero bits counts dots.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct PagePlane {
    uint32_t width = 0;   // dots
    uint32_t height = 0;  // lines
    uint32_t stride = 0;  // bytes per row
    std::vector<uint8_t> bits;
    uint64_t dots = 0;  // set when the page is complete

    bool Allocated() const { return !bits.empty(); }
    // Whether a dot is printed at (x, y); false outside the page.
    bool Dot(uint32_t x, uint32_t y) const;
};

// Zero bits in the bytes.
uint64_t CountDots(const uint8_t* bytes, size_t size);

// Sizes the plane and fills it with "no dot".
void PagePlaneAllocate(PagePlane* plane, uint32_t width, uint32_t height);

// Copies the rows of one band plane (bandWidthBytes x lines, natural row
// order) to page lines firstLine ... Rows and columns beyond the page are
// left out; returns how many dots they held.
uint64_t PagePlanePlaceBand(PagePlane* plane, const uint8_t* band, uint32_t bandWidthBytes, uint32_t lines,
                            uint32_t firstLine);

// Counts the dots of the whole plane into plane->dots.
void PagePlaneCountDots(PagePlane* plane);
