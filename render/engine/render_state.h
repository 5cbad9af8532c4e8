// The rendering state of the page printer and the render request that every
// filled object of a display list becomes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "formats/display_list.h"  // MaskStride

struct RenderPage;
struct BandWindow;
struct InterpreterRegisters;
struct TRect;

// A raster kernel: fills one request that DoRender has clipped to the band
// rows and prepared (dest, destStride, brush, colour set). It reads the
// pixel depth of the page, the band's last column and the reduced ROP and
// object tag of the registers, and writes only through req->dest.
using RenderFunc = void (*)(const RenderPage& page, const BandWindow& window, const InterpreterRegisters& reg,
                            TRect* req);

// One chunk of a page's display list: whole records, never split.
struct DLChunk {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
};

// A downloaded 1-bit bitmap (DL_DEFINE_BITMAP): rows of ((width+31)/32)*4
// bytes, most significant bit first.
struct DLBitmap {
    uint16_t rows = 0;
    uint16_t width = 0;
    std::vector<uint8_t> data;
};

// One run of a clip path: row, columns x1 .. x2-1.
struct ClipRun {
    uint32_t row = 0;
    uint32_t x1 = 0;
    uint32_t x2 = 0;
};

struct PathGenerator;  // scan converter state of filled paths and clip paths

// Bytes of a downloaded brush slot: room for 32 x 32 colour pixels.
constexpr uint32_t kBrushSlotBytes = 32 * 32 * 4;
constexpr uint32_t kBitmapSlots = 4096;

// The rendering state, split by how long each part lives and who resets it.
// RenderState composes the parts; a function that needs only some of them
// takes only those.

// The document's downloads and the path generator: they live from page to
// page. RDInitialize empties the slots and makes the path generator;
// RDDestroy frees everything.
struct RenderDocument {
    std::array<std::unique_ptr<DLBitmap>, kBitmapSlots> bitmapSlots;
    // Downloaded brushes: always kBrushSlotBytes, so that a brush defined on a
    // grey page can be selected on a colour page without reading past it.
    std::array<std::unique_ptr<uint8_t[]>, 256> brushSlots;
    PathGenerator* pathGenerator = nullptr;
};

// The page being printed: pixel depth, geometry and display list. The page
// printer sets all of it before the page's first band (a colour document
// may print a page in grey, so the depth is the page's, not the document's);
// RDInitializePage has nothing of its own to reset.
struct RenderPage {
    uint32_t isColour = 0;      // non-zero: 32-bit pixels 0xTTRRGGBB; zero: 8-bit whiteness
    uint32_t resolution = 0;    // dots per inch of the page
    uint32_t bitsPerPixel = 0;  // 8 or 32
    uint32_t pageRows = 0;
    uint32_t rowPixels = 0;  // page width rounded up to 32 pixels
    uint32_t bytesPerRow = 0;
    uint32_t dwordsPerRow = 0;
    uint32_t screenClass = 0;  // 0 normal, 1 text, 2 photo
    const DLChunk* displayList = nullptr;
    const DLChunk* displayListEnd = nullptr;
};

// The render band in hand and what was drawn into it. The page printer
// points `band` at the band buffer once per page; RDInitializeBand sets the
// rectangle and clears the buffer, the drawn box and the row flags for every
// band; requests update the drawn box, row flags and pure-colour flags as
// they are drawn. The clip runs belong to one clipped object at a time and
// are freed at the end of each playback; the row flags' memory is kept from
// band to band until RDDestroy.
struct BandWindow {
    uint32_t bandIndex = 0;
    uint32_t bandTop = 0, bandLeft = 0, bandBottom = 0, bandRight = 0;  // inclusive
    uint32_t clipLeft = 0, clipRight = 0;
    uint32_t drawnTop = 0, drawnLeft = 0, drawnBottom = 0, drawnRight = 0;
    uint32_t bandRows = 0;
    uint8_t* band = nullptr;        // band buffer, bytesPerRow x bandRows
    std::vector<uint8_t> rowFlags;  // one per band row: 0 none, 1 black/white, 2 colour, 3 image
    uint32_t pureColour = 0;
    uint32_t channelPure[3] = {};
    std::vector<ClipRun> clipRuns;
    // Rows of the band buffer that may hold something other than white (one
    // per buffer row, for the buffer and row length named here), so that a
    // new band clears only those; RDInitializeBand keeps them.
    std::vector<uint8_t> dirtyRows;
    const uint8_t* trackedBand = nullptr;
    uint32_t trackedRowBytes = 0;
    // One-bit rows for a grey band that holds only black and white
    // (bit_band.h): bitStride bytes a row, bitsBytes in all. Lent by the page
    // printer; null: the band is always drawn in bytes.
    uint8_t* bits = nullptr;
    size_t bitsBytes = 0;
    uint32_t bitStride = 0;
    // The band's drawing is in `bits` so far; the byte buffer is still white.
    bool inBits = false;
    // Band rows bitsFirst .. bitsEnd - 1 hold what was drawn in bits.
    uint32_t bitsFirst = 0, bitsEnd = 0;
};

// The display-list interpreter's registers as the drawers see them.
// RDInitialize starts them afresh; PlayFrameBuffer sets colour, brush, ROP,
// styles and modes at the start of every playback, so that every band sees
// the same state at the same record, and copies the interpreter's position
// and colour code back at its end.
struct InterpreterRegisters {
    uint32_t colourCode = 0;
    uint32_t colour = 0;  // 0x00RRGGBB or grey level
    // 32x32 pattern in band format, in a brush slot or the brush build
    // buffer; null = solid colour.
    const uint8_t* brush = nullptr;
    uint8_t rop = 0;  // ROP3 code as the display list gave it
    uint8_t lineStyle = 0;
    uint32_t stylePhase = 0;
    uint16_t styleMask = 0;
    uint8_t clipMode = 0;  // 3: the current path clips glyphs, bitmaps and images
    uint32_t hatchForeground = 0, hatchBackground = 0x00FFFFFF;
    uint8_t watermarkMode = 0;
    uint8_t textObject = 0;                   // 1 while a glyph or downloaded bitmap is drawn
    uint32_t imageRow = 0, imageCol = 0;      // destination of the image being drawn
    uint32_t currentRow = 0, currentCol = 0;  // copies of the interpreter's R and C at the end
    uint32_t spanEnd = 0, height = 0;

    // The raster selection that the ROP and colour code give: the kernel and
    // the reduced ROP (FrameSelectRopBrush). Kept per state rather than
    // process-wide so that two documents rendering at once in one spooler
    // process cannot disturb each other's kernel.
    RenderFunc pfRenderFunc = nullptr;
    uint8_t ubRopCode = 0;
};

// Work buffers, kept so that drawing does not allocate per object: the
// hatch and hollow brushes are built in brushBuild; masks realigned by
// DoRender, one mask row cut by a clip run, the realigned and resampled
// masks of scaled glyphs, and the rows and tables of images. They only grow;
// RDDestroy frees them.
struct RenderScratch {
    std::vector<uint8_t> brushBuild;
    std::vector<uint8_t> realignScratch;
    std::vector<uint8_t> clipRowScratch;
    std::vector<uint8_t> glyphScratch;
    std::vector<uint8_t> scaledGlyphScratch;
    // Images: one expanded row in band pixels, and the stretch counts of the
    // source columns and rows the band shows.
    std::vector<uint8_t> imageRow;
    std::vector<uint32_t> imageColumns;
    std::vector<uint32_t> imageRows;
};

struct RenderState {
    RenderDocument doc;
    RenderPage page;
    BandWindow window;
    InterpreterRegisters reg;
    RenderScratch scratch;
};

struct TRect {
    uint32_t row = 0;
    uint32_t xs = 0;
    uint32_t xe = 0;  // exclusive
    uint32_t rows = 0;
    const uint8_t* bits = nullptr;  // 1-bit mask, bit 0 of each row at column xs; null = solid
    const uint8_t* brush = nullptr;
    uint32_t colour = 0;
    uint8_t* dest = nullptr;  // pixel (row, xs) in the band buffer
    uint32_t destStride = 0;
    uint8_t bitOffset = 0;  // leading mask bits of each row that are not drawn
};

struct TLine {
    uint32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// A rectangle of device pixels; right and bottom are exclusive.
struct RDRect {
    uint32_t left = 0, top = 0, right = 0, bottom = 0;
};
