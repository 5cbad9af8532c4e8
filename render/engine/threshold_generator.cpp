#include "threshold_generator.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace threshold_gen {
namespace {

// The product's published first entries (row 0, then row 1, first twelve
// columns) of the six matrices it shows; every generated matrix of those names
// carries them.
constexpr uint8_t kNormal600KRows[24] = {0,  16, 198, 243, 175, 6,  0,  13, 191, 233, 181, 9,
                                         26, 95, 141, 165, 109, 71, 21, 88, 136, 170, 114, 77};
constexpr uint8_t kNormal600CRows[24] = {0,  16, 165, 231, 173, 96, 131, 178, 147, 8,  0,  14,
                                         27, 93, 217, 249, 191, 29, 0,   46,  112, 67, 22, 85};
constexpr uint8_t kNormal600YRows[24] = {0,  17,  105, 4,   0,  12,  120, 7,   0,  18,  102, 4,
                                         32, 151, 209, 131, 25, 145, 220, 138, 34, 152, 207, 129};
constexpr uint8_t kText600KRows[24] = {20, 190, 242, 228, 58,  1,  15, 185, 245, 231, 61,  4,
                                       90, 151, 208, 157, 114, 43, 86, 153, 210, 160, 118, 47};
constexpr uint8_t kPhoto600KRows[24] = {249, 164, 42, 0,  84, 208, 251, 166, 47, 5,  90,  207,
                                        235, 150, 28, 14, 99, 223, 237, 152, 33, 19, 104, 221};
constexpr uint8_t k1200KRows[24] = {0, 0, 12, 152, 240, 254, 227, 146, 8,  0, 0, 0,
                                    0, 0, 19, 162, 182, 213, 188, 156, 15, 0, 0, 0};

constexpr Pattern C = Pattern::Clustered;
constexpr Pattern D = Pattern::Dispersed;
constexpr ValueSet Z = ValueSet::ZeroCapped;
constexpr ValueSet F = ValueSet::Fine;
constexpr ValueSet U = ValueSet::Distinct;

// Screen angles: black at 45 degrees, cyan and magenta at about 27 and 63 (21
// and 68 at 1200 dpi), yellow at 0 (45 at 1200 dpi, where 98 x 98 allows no
// other coarse enough lattice). The cell centres of the published matrices
// sit where their published rows peak. Cell areas: 600 dpi 18, 20, 20, 16
// pixels; 1200 dpi 72, 116, 116, 98 pixels. A quarter of the pixels of a
// 1200-dpi screen, an eighth of a 600-dpi one, stay white until full black.
const MatrixDesign kDesigns[kMatrixCount] = {
    {"MaskNormal600K", 96, C, Z, 3, 3, 7, 1, 8, 0, kNormal600KRows},
    {"MaskNormal600C", 80, C, Z, 4, 2, 7, 3, 8, 0, kNormal600CRows},
    {"MaskNormal600M", 80, C, Z, 2, 4, 1, 1, 8, 0, nullptr},
    {"MaskNormal600Y", 64, C, Z, 4, 0, 5, 3, 8, 0, kNormal600YRows},
    {"MaskText600K", 24, C, F, 3, 3, 5, 1, 0, 0, kText600KRows},
    {"MaskText600C", 24, C, F, 6, 0, 1, 1, 0, 0, nullptr},
    {"MaskText600M", 24, C, F, 4, 4, 1, 1, 0, 0, nullptr},
    {"MaskText600Y", 24, C, F, 6, 0, 7, 7, 0, 0, nullptr},
    {"MaskPhoto600K", 12, D, U, 0, 0, 0, 0, 0, 0, kPhoto600KRows},
    {"MaskPhoto600C", 12, D, U, 0, 0, 0, 0, 0, 1, nullptr},
    {"MaskPhoto600M", 12, D, U, 0, 0, 0, 0, 0, 2, nullptr},
    {"MaskPhoto600Y", 12, D, U, 0, 0, 0, 0, 0, 3, nullptr},
    {"Mask1200K", 120, C, Z, 6, 6, 11, 1, 4, 0, k1200KRows},
    {"Mask1200C", 116, C, Z, 10, 4, 1, 1, 4, 0, nullptr},
    {"Mask1200M", 116, C, Z, 4, 10, 1, 1, 4, 0, nullptr},
    {"Mask1200Y", 98, C, Z, 7, 7, 1, 1, 4, 0, nullptr},
};

constexpr int kImposedColumns = 12;
constexpr int kImposedValues = 2 * kImposedColumns;

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int Mod(int a, int m) { return ((a % m) + m) % m; }

// ---------------------------------------------------------------------------
// Clustered-dot order

// A pixel's place in its halftone cell. s and t are its offsets from the cell
// centre along the two lattice vectors, in units where the cell spans
// [-area, area) in each; spot is the Euclidean dot function of that place.
struct CellPlace {
    int spot;
    int s, t;
    int cell;  // index into the tile's cells
};

// Euclidean dot: squared distance from the centre while the dot is round,
// then (mirrored through half coverage) the squared distance to the nearest
// corner, counted backwards, so the white hole left around the corner shrinks
// evenly. Low values get their dot first.
int EuclideanSpot(int s, int t, int area) {
    const int as = std::abs(s), at = std::abs(t);
    if (as + at <= area) return as * as + at * at;
    const int ds = area - as, dt = area - at;
    return 2 * area * area - (ds * ds + dt * dt);
}

struct CellCentre {
    int x2, y2;  // half pixels, reduced to the tile
};

// Squared distance of two cell centres on the tile's torus, in half pixels.
int TorusDistance(const CellCentre& a, const CellCentre& b, int period2) {
    int dx = std::abs(a.x2 - b.x2), dy = std::abs(a.y2 - b.y2);
    dx = std::min(dx, period2 - dx);
    dy = std::min(dy, period2 - dy);
    return dx * dx + dy * dy;
}

// The order in which the cells of a tile take turns: each next cell is the
// one farthest from all cells already chosen (lowest index on ties).
std::vector<int> DispersedCellRanks(const std::vector<CellCentre>& centres, int period2) {
    const size_t n = centres.size();
    std::vector<int> rank(n, -1);
    std::vector<int> nearest(n, 1 << 30);
    size_t current = 0;
    for (size_t step = 0; step < n; ++step) {
        rank[current] = static_cast<int>(step);
        size_t next = n;
        for (size_t i = 0; i < n; ++i) {
            if (rank[i] >= 0) continue;
            nearest[i] = std::min(nearest[i], TorusDistance(centres[i], centres[current], period2));
            if (next == n || nearest[i] > nearest[next]) next = i;
        }
        current = next;
    }
    return rank;
}

void CheckLattice(const MatrixDesign& d) {
    const int area = d.latticeX * d.latticeX + d.latticeY * d.latticeY;
    const int n = static_cast<int>(d.size);
    if (area == 0 || (n * d.latticeX) % area != 0 || (n * d.latticeY) % area != 0)
        throw std::invalid_argument(std::string(d.name) + ": lattice does not tile the matrix");
}

// Dot order of a clustered-dot tile: returns for each pixel its rank
// (0 = dotted first).
std::vector<uint32_t> ClusteredOrder(const MatrixDesign& d) {
    CheckLattice(d);
    const int n = static_cast<int>(d.size);
    const int ux = d.latticeX, uy = d.latticeY;
    const int area = ux * ux + uy * uy;
    const int period2 = 2 * n;

    std::vector<CellPlace> places(d.size * d.size);
    std::vector<CellCentre> centres;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const int dx = 2 * x + 1 - d.centreX2, dy = 2 * y + 1 - d.centreY2;
            const int sRaw = dx * ux + dy * uy;   // along u, 2*area per cell
            const int tRaw = -dx * uy + dy * ux;  // along v = u turned 90 degrees
            const int i = FloorDiv(sRaw + area, 2 * area);
            const int j = FloorDiv(tRaw + area, 2 * area);
            const CellCentre centre{Mod(d.centreX2 + 2 * (i * ux - j * uy), period2),
                                    Mod(d.centreY2 + 2 * (i * uy + j * ux), period2)};
            auto found = std::find_if(centres.begin(), centres.end(), [&](const CellCentre& c) {
                return c.x2 == centre.x2 && c.y2 == centre.y2;
            });
            const int cell = static_cast<int>(found - centres.begin());
            if (found == centres.end()) centres.push_back(centre);
            const int s = sRaw - 2 * area * i, t = tRaw - 2 * area * j;
            places[y * n + x] = CellPlace{EuclideanSpot(s, t, area), s, t, cell};
        }
    }
    if (centres.size() * area != d.size * d.size)
        throw std::logic_error(std::string(d.name) + ": cells do not cover the tile evenly");

    const std::vector<int> cellRank = DispersedCellRanks(centres, period2);
    std::vector<uint32_t> pixels(places.size());
    for (uint32_t i = 0; i < pixels.size(); ++i) pixels[i] = i;
    // Every cell holds the same set of places; a place grows in all cells
    // (in cell order) before the next place starts. Places of equal spot
    // value go in a fixed, lopsided order so no tie is left.
    std::sort(pixels.begin(), pixels.end(), [&](uint32_t a, uint32_t b) {
        const CellPlace& pa = places[a];
        const CellPlace& pb = places[b];
        if (pa.spot != pb.spot) return pa.spot < pb.spot;
        const int tieA = 3 * pa.s + 7 * pa.t, tieB = 3 * pb.s + 7 * pb.t;
        if (tieA != tieB) return tieA < tieB;
        if (pa.s != pb.s) return pa.s < pb.s;
        if (pa.t != pb.t) return pa.t < pb.t;
        return cellRank[pa.cell] < cellRank[pb.cell];
    });
    std::vector<uint32_t> rank(pixels.size());
    for (uint32_t r = 0; r < pixels.size(); ++r) rank[pixels[r]] = r;
    return rank;
}

// ---------------------------------------------------------------------------
// Dispersed order (12 x 12)

// Bayer order of a 4 x 4 tile, built from the 2 x 2 one.
int Bayer4(int x, int y) {
    static constexpr int kBayer2[2][2] = {{0, 2}, {3, 1}};
    return 4 * kBayer2[y % 2][x % 2] + kBayer2[y / 2][x / 2];
}

// A 3 x 3 order that dots one pixel per row and column in each third.
int Dispersed3(int x, int y) {
    static constexpr int kOrder[3][3] = {{0, 5, 7}, {4, 6, 2}, {8, 1, 3}};
    return kOrder[y][x];
}

std::vector<uint32_t> DispersedOrder(const MatrixDesign& d) {
    if (d.size != 12) throw std::invalid_argument(std::string(d.name) + ": dispersed tiles are 12 x 12");
    std::vector<uint32_t> rank(144);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            int px = x, py = y;
            switch (d.transform) {
                case 1: px = y, py = x; break;
                case 2: px = 11 - x; break;
                case 3: px = (x + 6) % 12, py = (y + 6) % 12; break;
                default: break;
            }
            // Consecutive steps of the 3 x 3 order are spread over the
            // sixteen 3 x 3 blocks in Bayer order.
            rank[y * 12 + x] =
                static_cast<uint32_t>(16 * Dispersed3(px % 3, py % 3) + Bayer4(px / 3, py / 3));
        }
    }
    return rank;
}

// ---------------------------------------------------------------------------
// Values

// The matrix's values, highest first (the value of dot rank r is entry r
// when nothing is imposed).
std::vector<uint8_t> ValuesHighestFirst(const MatrixDesign& d) {
    const uint32_t total = d.size * d.size;
    std::vector<uint8_t> values(total);
    switch (d.values) {
        case ValueSet::ZeroCapped: {
            const uint32_t graded = total - total / d.zeroDivisor;
            for (uint32_t r = 0; r < total; ++r)
                values[r] = r < graded ? static_cast<uint8_t>(254 - r * 254 / graded) : 0;
            break;
        }
        case ValueSet::Fine:
            for (uint32_t r = 0; r < total; ++r) values[r] = static_cast<uint8_t>(255 - r * 255 / total);
            break;
        case ValueSet::Distinct:
            if (d.imposedRows == nullptr) {
                for (uint32_t r = 0; r < total; ++r)
                    values[r] = static_cast<uint8_t>(254 - r * 254 / (total - 1));
            } else {
                // The published values plus the rest spread evenly over what
                // they leave free of 0..254.
                std::vector<uint8_t> free;
                for (int v = 254; v >= 0; --v) {
                    if (std::find(d.imposedRows, d.imposedRows + kImposedValues, v) ==
                        d.imposedRows + kImposedValues)
                        free.push_back(static_cast<uint8_t>(v));
                }
                const uint32_t wanted = total - kImposedValues;
                values.assign(d.imposedRows, d.imposedRows + kImposedValues);
                for (uint32_t k = 0; k < wanted; ++k) values.push_back(free[k * free.size() / wanted]);
                std::sort(values.begin(), values.end(), std::greater<>());
            }
            break;
    }
    return values;
}

}  // namespace

const MatrixDesign* Designs() { return kDesigns; }

std::vector<uint8_t> Generate(const MatrixDesign& d) {
    const std::vector<uint32_t> rank =
        d.pattern == Pattern::Clustered ? ClusteredOrder(d) : DispersedOrder(d);
    std::vector<uint8_t> values = ValuesHighestFirst(d);
    std::vector<uint8_t> matrix(rank.size());
    std::vector<bool> imposed(rank.size(), false);

    if (d.imposedRows != nullptr) {
        for (int k = 0; k < kImposedValues; ++k) {
            const uint32_t pixel = (k / kImposedColumns) * d.size + k % kImposedColumns;
            const uint8_t value = d.imposedRows[k];
            auto it = std::find(values.begin(), values.end(), value);
            if (it == values.end())
                throw std::logic_error(std::string(d.name) + ": published value not in the value set");
            values.erase(it);
            matrix[pixel] = value;
            imposed[pixel] = true;
        }
    }
    // The remaining values, highest first, to the remaining pixels in dot order.
    std::vector<uint32_t> byRank(rank.size());
    for (uint32_t p = 0; p < rank.size(); ++p) byRank[rank[p]] = p;
    size_t next = 0;
    for (uint32_t pixel : byRank) {
        if (!imposed[pixel]) matrix[pixel] = values[next++];
    }
    return matrix;
}

}  // namespace threshold_gen
