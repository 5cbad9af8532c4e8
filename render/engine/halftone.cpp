#include "halftone.h"

#include <bit>
#include <cstring>

#include "threshold_matrices.h"

static_assert(std::endian::native == std::endian::little,
              "the screeners read eight pixels at a time as little-endian words");

const uint32_t adwMaskInfoTbl600[3][12] = {
    {96, 80, 80, 64, 96, 80, 80, 64, 9216, 6400, 6400, 4096},  // normal
    {24, 24, 24, 24, 24, 24, 24, 24, 576, 576, 576, 576},      // text
    {12, 12, 12, 12, 12, 12, 12, 12, 144, 144, 144, 144},      // photo
};

const uint32_t adwMaskInfoTbl1200[12] = {120, 116, 116, 98, 120, 116, 116, 98, 14400, 13456, 13456, 9604};

namespace {

// The matrices of each set, in plane order black, cyan, magenta, yellow.
const uint8_t* const kNormal600Tables[4] = {MaskNormal600K, MaskNormal600C, MaskNormal600M, MaskNormal600Y};
const uint8_t* const kText600Tables[4] = {MaskText600K, MaskText600C, MaskText600M, MaskText600Y};
const uint8_t* const kPhoto600Tables[4] = {MaskPhoto600K, MaskPhoto600C, MaskPhoto600M, MaskPhoto600Y};
const uint8_t* const k1200Tables[4] = {Mask1200K, Mask1200C, Mask1200M, Mask1200Y};

constexpr uint32_t kGroup = 8;  // pixels per plane byte
constexpr uint64_t kAllWhite = ~uint64_t{0};
constexpr uint64_t kHighBits = 0x8080808080808080ull;

struct MatrixSet {
    const uint32_t* info;  // widths K C M Y, heights K C M Y, sizes K C M Y
    const uint8_t* const* tables;
};

MatrixSet SelectMatrixSet(uint32_t screenClass, uint32_t resolution) {
    if (resolution == 1200) return {adwMaskInfoTbl1200, k1200Tables};
    switch (screenClass) {
        case kScreenNormal: return {adwMaskInfoTbl600[0], kNormal600Tables};
        case kScreenText: return {adwMaskInfoTbl600[1], kText600Tables};
        default: return {adwMaskInfoTbl600[2], kPhoto600Tables};
    }
}

void SetPlane(FBScreen* screen, uint32_t plane, const MatrixSet& set) {
    screen->plane[plane] =
        FBScreenPlane{set.info[plane], set.info[4 + plane], set.info[8 + plane], set.tables[plane]};
}

// A plane the screeners can walk: the row buffer holds a full matrix row plus
// eight thresholds, and eight thresholds read from any column below the width
// must not wrap more than once.
bool IsUsable(const FBScreenPlane& plane) {
    return plane.table != nullptr && plane.width >= kGroup && plane.width <= kMaxMaskWidth &&
           plane.height > 0 && plane.size == uint64_t{plane.width} * plane.height;
}

// One matrix row as the inner loop reads it: the row followed by its first
// eight thresholds, so eight thresholds can be read from any column without a
// wrap test. Thresholds are capped at 254: white paper (255) never takes ink,
// whatever its neighbours in the group of eight (see MaskBand8).
class ThresholdRow {
public:
    explicit ThresholdRow(const FBScreenPlane& plane, uint32_t pageRow)
        : plane_(plane), row_(pageRow % plane.height) {
        Load();
    }

    void NextRow() {
        if (++row_ == plane_.height) row_ = 0;
        Load();
    }
    const uint8_t* values() const { return values_; }
    uint32_t width() const { return plane_.width; }

private:
    void Load() {
        const uint8_t* source = plane_.table + row_ * plane_.width;
        for (uint32_t i = 0; i < plane_.width; ++i) values_[i] = source[i] < 255 ? source[i] : 254;
        std::memcpy(values_ + plane_.width, values_, kGroup);
    }

    const FBScreenPlane& plane_;
    uint32_t row_;
    uint8_t values_[kMaxMaskWidth + kGroup];
};

inline uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Walks one loaded matrix row eight thresholds at a time. The column wraps at
// the matrix width; one subtraction suffices as the width is at least eight.
class ThresholdCursor {
public:
    explicit ThresholdCursor(const ThresholdRow& row) : values_(row.values()), width_(row.width()) {}

    uint64_t Next8() const { return Load64(values_ + column_); }
    void Advance() {
        column_ += kGroup;
        column_ = column_ >= width_ ? column_ - width_ : column_;
    }

private:
    const uint8_t* values_;
    uint32_t width_;
    uint32_t column_ = 0;
};

// Compares eight whiteness bytes with eight thresholds at once and returns
// the dot mask: bit 7 - j is set when byte j of pixels <= byte j of
// thresholds. The compare works on the low seven bits of every byte with
// the high bit as a guard (no borrow crosses a byte), then settles the bytes
// whose high bits differ by the threshold's high bit. The eight resulting
// flags (bit 7 of each byte) are gathered by one multiply: flag j moves to bit
// 63 - j, and a shift leaves pixel 0 in the most significant bit.
inline uint32_t DotMask(uint64_t pixels, uint64_t thresholds) {
    const uint64_t lowCompare = (thresholds | kHighBits) - (pixels & ~kHighBits);
    const uint64_t highDiffers = thresholds ^ pixels;
    const uint64_t atMost = ((highDiffers & thresholds) | (~highDiffers & lowCompare)) & kHighBits;
    return static_cast<uint32_t>(((atMost >> 7) * 0x8040201008040201ull) >> 56);
}

// The four inks of eight 32-bit pixels, one byte per pixel in pixel order.
struct InkBytes {
    uint64_t yellow, magenta, cyan, black;
};

// Transposes eight pixels (four bytes each: yellow, magenta, cyan, black)
// into four words of eight bytes, one per ink. Each 64-bit word carries two
// independent 4 x 4 byte transposes: pixels 0-3 in its low half, 4-7 in its
// high half.
inline InkBytes SplitInks(const uint8_t* group) {
    constexpr uint64_t kLow32 = 0x00000000FFFFFFFFull;
    constexpr uint64_t kEvenBytes = 0x00FF00FF00FF00FFull;
    constexpr uint64_t kLow16 = 0x0000FFFF0000FFFFull;
    const uint64_t a0 = Load64(group), a1 = Load64(group + 8);        // pixels 0 1, 2 3
    const uint64_t a2 = Load64(group + 16), a3 = Load64(group + 24);  // pixels 4 5, 6 7
    // q[j]: pixel j in the low half, pixel j + 4 in the high half.
    const uint64_t q0 = (a0 & kLow32) | (a2 << 32), q1 = (a0 >> 32) | (a2 & ~kLow32);
    const uint64_t q2 = (a1 & kLow32) | (a3 << 32), q3 = (a1 >> 32) | (a3 & ~kLow32);
    // Byte pairs: t0 = Y0 Y1 C0 C1, t1 = M0 M1 K0 K1, t2 = Y2 Y3 C2 C3, t3 = M2 M3 K2 K3.
    const uint64_t t0 = (q0 & kEvenBytes) | ((q1 << 8) & ~kEvenBytes);
    const uint64_t t1 = ((q0 >> 8) & kEvenBytes) | (q1 & ~kEvenBytes);
    const uint64_t t2 = (q2 & kEvenBytes) | ((q3 << 8) & ~kEvenBytes);
    const uint64_t t3 = ((q2 >> 8) & kEvenBytes) | (q3 & ~kEvenBytes);
    return InkBytes{(t0 & kLow16) | ((t2 << 16) & ~kLow16), (t1 & kLow16) | ((t3 << 16) & ~kLow16),
                    ((t0 >> 16) & kLow16) | (t2 & ~kLow16), ((t1 >> 16) & kLow16) | (t3 & ~kLow16)};
}

void MarkAllBlank(uint8_t* blank) {
    if (blank) std::memset(blank, 1, 4);
}

}  // namespace

int FBMaskInitialize(FBScreen* screen, uint32_t screenClass, uint32_t resolution, void* colourHandle) {
    if (!screen) return 0;
    *screen = FBScreen{};
    screen->screenClass = screenClass;
    screen->resolution = resolution;
    screen->colourHandle = colourHandle;
    const MatrixSet set = SelectMatrixSet(screenClass, resolution);
    const uint32_t planes = colourHandle ? 4 : 1;
    for (uint32_t plane = 0; plane < planes; ++plane) SetPlane(screen, plane, set);
    return 1;
}

void FBMaskDestroy(FBScreen* screen) {
    if (screen) *screen = FBScreen{};
}

// Every group of eight pixels that is not all white gets its plane byte
// written: bit 7 - j is 0 (dot) when pixel j's whiteness is at most its
// threshold. A whiteness of 255 never gets a dot: the thresholds are capped at
// 254 when a row is loaded, so a white pixel next to a drawn one stays as
// white as a pixel in an all-white group.
int MaskBand8(const FBScreen* screen, uint8_t* dst, uint32_t dstStride, const uint8_t* src, uint32_t firstRow,
              uint32_t pixelsPerRow, uint32_t rows, uint8_t* blank) {
    MarkAllBlank(blank);
    if (!screen || !dst || !src || !blank || pixelsPerRow % kGroup != 0 ||
        !IsUsable(screen->plane[kScreenBlack]))
        return 0;

    const uint32_t groups = pixelsPerRow / kGroup;
    ThresholdRow thresholds(screen->plane[kScreenBlack], firstRow);
    uint32_t dots = 0;
    for (uint32_t r = 0; r < rows; ++r) {
        const uint8_t* pixels = src + static_cast<size_t>(r) * pixelsPerRow;
        uint8_t* out = dst + static_cast<size_t>(r) * dstStride;
        ThresholdCursor cursor(thresholds);
        for (uint32_t g = 0; g < groups; ++g, pixels += kGroup) {
            const uint64_t group = Load64(pixels);
            if (group != kAllWhite) {
                const uint32_t mask = DotMask(group, cursor.Next8());
                out[g] = static_cast<uint8_t>(~mask);
                dots |= mask;
            }
            cursor.Advance();
        }
        if (r + 1 < rows) thresholds.NextRow();
    }
    if (dots) blank[0] = 0;
    return 1;
}

int MaskBand32(const FBScreen* screen, uint8_t* dst, uint32_t planeOffset, uint32_t dstStride,
               const uint8_t* src, uint32_t firstRow, uint32_t pixelsPerRow, uint32_t rows, uint8_t* blank) {
    MarkAllBlank(blank);
    if (!screen || !dst || !src || !blank || !screen->colourHandle || pixelsPerRow % kGroup != 0) return 0;
    for (const FBScreenPlane& plane : screen->plane) {
        if (!IsUsable(plane)) return 0;
    }

    const uint32_t groups = pixelsPerRow / kGroup;
    ThresholdRow yellowRow(screen->plane[kScreenYellow], firstRow);
    ThresholdRow magentaRow(screen->plane[kScreenMagenta], firstRow);
    ThresholdRow cyanRow(screen->plane[kScreenCyan], firstRow);
    ThresholdRow blackRow(screen->plane[kScreenBlack], firstRow);
    uint32_t cyanDots = 0, magentaDots = 0, yellowDots = 0, blackDots = 0;
    for (uint32_t r = 0; r < rows; ++r) {
        const uint8_t* pixels = src + static_cast<size_t>(r) * pixelsPerRow * 4;
        uint8_t* cyanOut = dst + static_cast<size_t>(r) * dstStride;
        uint8_t* magentaOut = cyanOut + planeOffset;
        uint8_t* yellowOut = magentaOut + planeOffset;
        uint8_t* blackOut = yellowOut + planeOffset;
        // Locals, so the stores to the planes cannot make the compiler
        // reload them.
        ThresholdCursor ys(yellowRow), ms(magentaRow), cs(cyanRow), ks(blackRow);
        for (uint32_t g = 0; g < groups; ++g, pixels += 4 * kGroup) {
            const uint64_t white =
                Load64(pixels) & Load64(pixels + 8) & Load64(pixels + 16) & Load64(pixels + 24);
            if (white != kAllWhite) {
                const InkBytes inks = SplitInks(pixels);
                uint32_t y = DotMask(inks.yellow, ys.Next8());
                const uint32_t m = DotMask(inks.magenta, ms.Next8());
                const uint32_t c = DotMask(inks.cyan, cs.Next8());
                const uint32_t k = DotMask(inks.black, ks.Next8());
                y &= ~(c & m & y & k);  // ink limit: no yellow under full cyan, magenta and black
                cyanOut[g] = static_cast<uint8_t>(~c);
                magentaOut[g] = static_cast<uint8_t>(~m);
                yellowOut[g] = static_cast<uint8_t>(~y);
                blackOut[g] = static_cast<uint8_t>(~k);
                cyanDots |= c, magentaDots |= m, yellowDots |= y, blackDots |= k;
            }
            ys.Advance(), ms.Advance(), cs.Advance(), ks.Advance();
        }
        if (r + 1 < rows) {
            yellowRow.NextRow(), magentaRow.NextRow(), cyanRow.NextRow(), blackRow.NextRow();
        }
    }
    blank[0] = cyanDots ? 0 : 1;
    blank[1] = magentaDots ? 0 : 1;
    blank[2] = yellowDots ? 0 : 1;
    blank[3] = blackDots ? 0 : 1;
    return 1;
}
