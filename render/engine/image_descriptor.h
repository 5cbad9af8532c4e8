// An image record (DL_STRETCH_IMAGE, DL_BLT_IMAGE) as one draw sees it:
// where its source pixels are, how they are turned, and where they go.
//
// The record's source is srcRows rows of `lead` pixels that are not drawn
// and srcWidth pixels that are. A mirrored image is read right to left. A
// rotated image is turned 90 degrees counter-clockwise: its drawn pixel
// (row r, column c) is source pixel (row c, column srcWidth - 1 - r), so it
// is srcWidth rows high and srcRows columns wide before it is stretched. The
// record's destination extents are rows then columns, or columns then rows
// when rotated.
#pragma once

#include <cstdint>

#include "display_list.h"
#include "render_state.h"

struct ImageDescriptor {
    uint32_t bitsPerPixel = 0;  // 1, 4, 8 or 24
    uint32_t lead = 0;
    uint32_t srcRows = 0, srcWidth = 0;  // as stored, lead not counted
    uint32_t srcStride = 0;              // bytes per stored row
    bool rotated = false;
    bool mirrored = false;
    const uint8_t* palette = nullptr;
    uint32_t paletteBytes = 0;
    const uint8_t* pixels = nullptr;  // first stored row

    // The source as it is drawn (turned when rotated), and its destination.
    uint32_t drawnRows = 0, drawnCols = 0;
    uint32_t destRow = 0, destCol = 0;
    uint32_t destRows = 0, destCols = 0;

    uint64_t DestBottom() const { return uint64_t{destRow} + destRows; }  // exclusive
    uint64_t DestRight() const { return uint64_t{destCol} + destCols; }   // exclusive
};

// Describes `image` drawn with its top-left pixel at (destRow, destCol).
// False when there is nothing to draw: a depth other than 1, 4, 8 and 24, or
// an empty source or destination.
bool DescribeImage(const DLImage& image, uint32_t destRow, uint32_t destCol, ImageDescriptor* out);

// The page rows top .. bottom - 1 and columns left .. right - 1 of an image
// that lie in the band buffer.
struct ImageWindow {
    uint32_t top = 0, bottom = 0;
    uint32_t left = 0, right = 0;
};

// False when no pixel of the image lies in the band: its rows miss the
// band's, or its columns miss the band's columns inside the buffer's rows.
bool VisibleImageWindow(const ImageDescriptor& image, const RenderPage& page, const BandWindow& window,
                        ImageWindow* out);

// True when some row of the image lies in the band's rows.
bool ImageMeetsBandRows(const ImageDescriptor& image, const BandWindow& window);
