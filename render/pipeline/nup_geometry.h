// Where a page goes on an N-up sheet: the grid of cells for the number of
// pages per sheet, the cell a page takes by its index and the reading order,
// the scale that fits a page into a cell, and the cell's border.
//
// A sheet of A columns by B rows (the page record's printable size) keeps a
// margin of 10 dots per 300 dpi all round; the rest is cut into t columns by
// u rows of cells. For 2, 3, 6 and 8 pages per sheet the driver draws the
// pages turned, so a page's rows then run along the sheet's width: its
// reference size is A rows by B columns instead of B by A.
#pragma once

#include <cstdint>

// Reading orders of the cells (settings offset 812), for a portrait sheet.
// An unknown order reads like the first: a page is never put off the sheet.
enum FBNupOrder : uint32_t {
    kNupAcrossThenDown = 0,     // rows left to right, top row first
    kNupDownThenAcross = 1,     // columns top to bottom, left column first
    kNupAcrossRightToLeft = 2,  // rows right to left, top row first
    kNupDownFromTheRight = 3,   // columns top to bottom, right column first
};

// The cell grid for n pages per sheet: t columns, u rows, and whether the
// pages are drawn turned. Any n without a grid of its own gets one cell.
struct FBNupGrid {
    uint32_t columns = 1;  // t
    uint32_t rows = 1;     // u
    bool turned = false;
};
FBNupGrid FBNupGridFor(uint32_t pagesPerSheet);

// A page's place on the sheet. Positions are in the page's own, unscaled
// coordinates (the base position that goes before its display list); the
// border is in sheet dots.
struct FBNupPlacement {
    uint32_t rowPosition = 0;
    uint32_t columnPosition = 0;
    uint16_t r0 = 0, c0 = 0, r1 = 0, c1 = 0;
};

// The cell (row p, column q) of the page at `index` (0-based position on
// the sheet) for the grid, orientation (1 landscape) and order. A landscape
// sheet turns the portrait cells a quarter turn.
void FBNupCell(const FBNupGrid& grid, uint32_t orientation, uint32_t order, uint32_t index, uint32_t* p,
               uint32_t* q);

// The placement of page `index` on a sheet of extentA columns by extentB
// rows at `resolution` dpi, with borders kept borderFactor x (resolution /
// 300) dots inside the sheet. Returns the scale in percent that fits a page
// into its cell; 0 when the sheet is too small to hold a cell (the
// placement is then all zero). All arithmetic is integer, so that the
// pages' own scale commands and their placement agree to the dot.
uint32_t GetNupValues(uint32_t pagesPerSheet, uint32_t orientation, uint32_t order, uint32_t index,
                      uint32_t extentA, uint32_t extentB, uint32_t resolution, uint32_t borderFactor,
                      FBNupPlacement* placement);
