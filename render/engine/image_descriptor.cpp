#include "image_descriptor.h"

#include <algorithm>

bool DescribeImage(const DLImage& image, uint32_t destRow, uint32_t destCol, ImageDescriptor* out) {
    switch (image.bitsPerPixel) {
        case 1:
        case 4:
        case 8:
        case 24: break;
        default: return false;
    }
    ImageDescriptor d;
    d.bitsPerPixel = image.bitsPerPixel;
    d.lead = image.lead;
    d.srcRows = image.srcRows;
    d.srcWidth = image.srcWidth;
    d.srcStride = image.srcStride;
    d.rotated = (image.flags & kDLImageRotated) != 0;
    d.mirrored = (image.flags & kDLImageMirrored) != 0;
    d.palette = image.palette;
    d.paletteBytes = image.paletteBytes;
    d.pixels = image.pixels;
    d.drawnRows = d.rotated ? d.srcWidth : d.srcRows;
    d.drawnCols = d.rotated ? d.srcRows : d.srcWidth;
    d.destRow = destRow;
    d.destCol = destCol;
    d.destRows = d.rotated ? image.destExtent10 : image.destExtent8;
    d.destCols = d.rotated ? image.destExtent8 : image.destExtent10;
    if (d.drawnRows == 0 || d.drawnCols == 0 || d.destRows == 0 || d.destCols == 0) return false;
    *out = d;
    return true;
}

bool ImageMeetsBandRows(const ImageDescriptor& image, const BandWindow& window) {
    return window.bandRows != 0 && image.destRow <= window.bandBottom && image.DestBottom() > window.bandTop;
}

bool VisibleImageWindow(const ImageDescriptor& image, const RenderPage& page, const BandWindow& window,
                        ImageWindow* out) {
    if (!ImageMeetsBandRows(image, window) || page.rowPixels == 0 || window.band == nullptr) return false;
    // Rows inside the band buffer; columns inside the band and the buffer's rows.
    // (A band ending at row 2^32 loses that row: rows are 32-bit.)
    const uint64_t bandEnd = std::min<uint64_t>(uint64_t{window.bandTop} + window.bandRows, UINT32_MAX);
    const uint64_t columnEnd = std::min<uint64_t>(uint64_t{window.bandRight} + 1, page.rowPixels);
    ImageWindow w;
    w.top = std::max(image.destRow, window.bandTop);
    w.bottom = static_cast<uint32_t>(std::min(image.DestBottom(), bandEnd));
    w.left = std::max(image.destCol, window.bandLeft);
    w.right = static_cast<uint32_t>(std::min(image.DestRight(), columnEnd));
    if (w.top >= w.bottom || w.left >= w.right) return false;
    *out = w;
    return true;
}
