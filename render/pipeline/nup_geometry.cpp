#include "pipeline/nup_geometry.h"

#include <algorithm>

namespace {

// Margin round the sheet and border width, in dots per 300 dpi.
constexpr int64_t kSheetMarginPer300 = 10;

uint16_t To16(int64_t value) { return static_cast<uint16_t>(std::clamp<int64_t>(value, 0, 0xFFFF)); }

}  // namespace

FBNupGrid FBNupGridFor(uint32_t pagesPerSheet) {
    switch (pagesPerSheet) {
        case 2: return {1, 2, true};
        case 3: return {1, 3, true};
        case 4: return {2, 2, false};
        case 6: return {2, 3, true};
        case 8: return {2, 4, true};
        case 9: return {3, 3, false};
        case 16: return {4, 4, false};
        default: return {1, 1, false};
    }
}

void FBNupCell(const FBNupGrid& grid, uint32_t orientation, uint32_t order, uint32_t index, uint32_t* p,
               uint32_t* q) {
    // L cells down a column and M across a row, as the sheet is read.
    const uint32_t down = orientation == 1 ? grid.columns : grid.rows;
    const uint32_t across = orientation == 1 ? grid.rows : grid.columns;
    uint32_t row = 0, column = 0;
    switch (order) {
        case kNupDownThenAcross:
            column = index / down;
            row = index % down;
            break;
        case kNupAcrossRightToLeft:
            column = across - (index % across) - 1;
            row = index / across;
            break;
        case kNupDownFromTheRight:
            column = across - (index / down) - 1;
            row = index % down;
            break;
        default:
            column = index % across;
            row = index / across;
            break;
    }
    if (orientation == 1) {
        // A landscape sheet is the portrait one turned a quarter: its rows
        // run up the portrait sheet's columns.
        const uint32_t turnedRow = grid.rows - column - 1;
        column = row;
        row = turnedRow;
    }
    *p = row;
    *q = column;
}

uint32_t GetNupValues(uint32_t pagesPerSheet, uint32_t orientation, uint32_t order, uint32_t index,
                      uint32_t extentA, uint32_t extentB, uint32_t resolution, uint32_t borderFactor,
                      FBNupPlacement* placement) {
    *placement = FBNupPlacement{};
    const FBNupGrid grid = FBNupGridFor(pagesPerSheet);
    const int64_t f = resolution / 300;
    const int64_t margin = kSheetMarginPer300 * f;
    const int64_t a = extentA, b = extentB;
    const int64_t cellRows = (b - 2 * margin) / grid.rows;        // V
    const int64_t cellColumns = (a - 2 * margin) / grid.columns;  // Wc
    // The page's own rows and columns: a turned page's rows run across.
    const int64_t pageRows = grid.turned ? a : b;     // r
    const int64_t pageColumns = grid.turned ? b : a;  // s
    if (cellRows <= 0 || cellColumns <= 0 || pageRows <= 0 || pageColumns <= 0) return 0;
    const int64_t scale = std::min(cellRows * 100 / pageRows, cellColumns * 100 / pageColumns);
    if (scale <= 0) return 0;

    uint32_t p = 0, q = 0;
    FBNupCell(grid, orientation, order, index, &p, &q);
    const int64_t top = p * cellRows;      // P
    const int64_t left = q * cellColumns;  // Q
    // Centred in the cell, then taken back to the page's unscaled dots.
    const int64_t rowSlack = (cellRows - pageRows * scale / 100) >> 1;
    const int64_t columnSlack = (cellColumns - pageColumns * scale / 100) >> 1;
    placement->rowPosition = static_cast<uint32_t>((top + rowSlack + margin) * 100 / scale);
    placement->columnPosition = static_cast<uint32_t>((left + columnSlack + margin) * 100 / scale);

    const int64_t inset = int64_t{borderFactor} * f;  // G
    placement->r0 = To16(std::max(margin + top, inset));
    placement->c0 = To16(std::max(margin + left, inset));
    placement->r1 = To16(std::min(margin + top + cellRows, b - inset - 2));
    placement->c1 = To16(std::min(margin + left + cellColumns, a - inset - 2));
    return static_cast<uint32_t>(scale);
}
