#include "pipeline/finishing_test_support.h"

#include <algorithm>

#include "formats/settings_record.h"

namespace finishing_test {

Bounds DotBounds(const PagePlane& plane, uint32_t left, uint32_t top, uint32_t right, uint32_t bottom) {
    Bounds b;
    b.left = UINT32_MAX;
    b.top = UINT32_MAX;
    for (uint32_t y = top; y < bottom; ++y) {
        for (uint32_t x = left; x < right; ++x) {
            if (!plane.Dot(x, y)) continue;
            b.any = true;
            b.left = std::min(b.left, x);
            b.top = std::min(b.top, y);
            b.right = std::max(b.right, x + 1);
            b.bottom = std::max(b.bottom, y + 1);
        }
    }
    if (!b.any) b = Bounds{};
    return b;
}

uint32_t PageOfMark(const Bounds& bounds) {
    if (!bounds.any) return 0;
    const uint64_t width = bounds.right - bounds.left;
    const uint64_t height = bounds.bottom - bounds.top;
    // height / width = 80 n / 400, rounded.
    return static_cast<uint32_t>((height * kMarkWidth * 2 / (kMarkRowsPerPage * width) + 1) / 2);
}

JobSettings Sheet(uint32_t pagesPerSheet, bool landscape, uint32_t order, bool border) {
    JobSettings settings = entry_test::SmallPage(kResolution, kWidth, kHeight);
    settings.pagesPerSheet = pagesPerSheet;
    settings.landscape = landscape;
    settings.nupOrder = order;
    settings.nupBorder = border;
    return settings;
}

uint32_t FullSizePage(const DecodedPage& sheet) {
    const Bounds b = DotBounds(sheet.Plane(4), 0, 0, kWidth, kHeight);
    if (!b.any || b.left != 100 || b.top != 100 || b.right != 100 + kMarkWidth) return 0;
    return PageOfMark(b);
}

SheetModel SheetModel::For(uint32_t pagesPerSheet) {
    SheetModel m;
    bool turned = false;
    switch (pagesPerSheet) {
        case 2: m.columns = 1, m.rows = 2, turned = true; break;
        case 3: m.columns = 1, m.rows = 3, turned = true; break;
        case 4: m.columns = 2, m.rows = 2; break;
        case 6: m.columns = 2, m.rows = 3, turned = true; break;
        case 8: m.columns = 2, m.rows = 4, turned = true; break;
        case 9: m.columns = 3, m.rows = 3; break;
        case 16: m.columns = 4, m.rows = 4; break;
        default: break;
    }
    const uint32_t f = kResolution / 300;
    m.margin = 10 * f;
    m.cellRows = (kHeight - 2 * m.margin) / m.rows;
    m.cellColumns = (kWidth - 2 * m.margin) / m.columns;
    // The pages draw themselves reduced for a sheet whose sizes are rounded
    // up to whole multiples of 32 dots; a page drawn turned has the sheet's
    // width as its height.
    auto roundUp = [](uint32_t dots) { return (dots + 31) / 32 * 32; };
    const uint32_t a = roundUp(kWidth), b = roundUp(kHeight);
    const uint32_t pageRows = turned ? a : b, pageColumns = turned ? b : a;
    m.scale = std::min((b - 2 * m.margin) / m.rows * 100 / pageRows,
                       (a - 2 * m.margin) / m.columns * 100 / pageColumns);
    return m;
}

void SheetModel::CellOf(uint32_t pagesPerSheet, bool landscape, uint32_t order, uint32_t index, uint32_t* row,
                        uint32_t* column) const {
    (void)pagesPerSheet;
    // The grid as the reader sees it: a landscape sheet is turned, so its
    // reading rows are the portrait sheet's columns.
    const uint32_t readRows = landscape ? columns : rows;
    const uint32_t readColumns = landscape ? rows : columns;
    const bool columnsFirst = order == 1 || order == 3;
    const bool fromTheRight = order == 2 || order == 3;
    uint32_t r = columnsFirst ? index % readRows : index / readColumns;
    uint32_t c = columnsFirst ? index / readRows : index % readColumns;
    if (fromTheRight) c = readColumns - 1 - c;
    if (!landscape) {
        *row = r;
        *column = c;
        return;
    }
    // Turned back: the reader's top row is the sheet's left column, the
    // reader's left column the sheet's bottom row.
    *row = rows - 1 - c;
    *column = r;
}

uint32_t SheetModel::PageIn(const PagePlane& plane, uint32_t row, uint32_t column, uint32_t inset) const {
    const uint32_t top = margin + row * cellRows + inset;
    const uint32_t left = margin + column * cellColumns + inset;
    return PageOfMark(
        DotBounds(plane, left, top, left + cellColumns - 2 * inset, top + cellRows - 2 * inset));
}

}  // namespace finishing_test
