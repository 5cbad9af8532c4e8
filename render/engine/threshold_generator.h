// The generator of the sixteen threshold matrices of the halftone screens.
//
// It is not part of the rendering library: it wrote the checked-in tables of
// threshold_matrices.cpp (target regenerate_threshold_matrices), and the tests
// run it again to prove that those tables are exactly what it produces.
// Everything is integer arithmetic, so every compiler and every build (64-bit
// Linux, 32-bit Windows) produces the same bytes.
//
// How a matrix is made:
// 1. Order the pixels of the tile, first dotted first:
//    - clustered-dot screens (normal, text, 1200 dpi): a square lattice of
//      halftone cells at an angle fixed by an integer lattice vector; each cell
//      grows a round dot from its centre that turns into a checkerboard at half
//      coverage and into a shrinking white hole beyond ("Euclidean" dot). The
//      cells of one tile take turns at each step of dot growth, in a dispersed
//      order of cells, which gives the tile many more grey levels than a
//      single cell has pixels;
//    - dispersed screens (photo): a 12 x 12 ordered dither, a 3 x 3 dispersed
//      order whose steps are spread over a 4 x 4 Bayer order of 3 x 3 blocks.
// 2. Give the ordered pixels descending thresholds from the value set of the
//    screen class (see ValueSet).
// 3. Impose the product's published first entries of rows 0 and 1 where the
//    product data fixes them; the remaining values of the set go to the other
//    pixels, still in dot order, so every stated property of the value set
//    holds for the finished matrix.
#pragma once

#include <cstdint>
#include <vector>

namespace threshold_gen {

enum class Pattern { Clustered, Dispersed };

// Which thresholds a matrix holds.
enum class ValueSet {
    ZeroCapped,  // 0..254, every value present; the last-dotted share is 0, the most frequent value
    Fine,        // 1..255, every value present (text screens)
    Distinct,    // one distinct value per pixel within 0..254 (photo screens)
};

struct MatrixDesign {
    const char* name;  // name of the table in the rendering library
    uint32_t size;     // the tile is size x size
    Pattern pattern;
    ValueSet values;
    int latticeX, latticeY;  // clustered: one lattice vector in pixels (the other is it turned 90 degrees)
    int centreX2, centreY2;  // clustered: a cell centre, in half pixels (pixel x has its centre at 2x+1)
    uint32_t zeroDivisor;    // ZeroCapped: size*size/zeroDivisor pixels get threshold 0
    int transform;           // dispersed: 0 as is, 1 transposed, 2 mirrored, 3 shifted half a tile
    const uint8_t* imposedRows;  // null, or 24 values: row 0 then row 1, first twelve columns each
};

constexpr int kMatrixCount = 16;

// The designs, in the order of threshold_matrices.h.
const MatrixDesign* Designs();

// Builds one matrix, row after row.
std::vector<uint8_t> Generate(const MatrixDesign& design);

}  // namespace threshold_gen
