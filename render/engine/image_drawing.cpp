// The image drawers: DL_STRETCH_IMAGE and DL_BLT_IMAGE drawn into the band.
//
// Both draw the same way (a blit whose destination differs in size is
// stretched too); they differ in the object tag their pixels carry on colour
// pages: photo (0x00) for stretched images, graphics (0x02) for blits. Rows
// of the band that an image reaches are flagged as image rows, so that the
// band printer codes those bands as pictures rather than text.
//
// Per band only the part of the image inside the band is touched: each
// visible source row is expanded once through its palette and stretched
// across, then combined with the band as many times as the row table
// repeats it.
#include "bit_band.h"
#include "do_render.h"
#include "drawing_seams.h"
#include "image_painter.h"

namespace {

int DrawImage(RenderState* state, const DLImage& record, uint32_t tag) {
    ImageDescriptor image;
    if (!DescribeImage(record, state->reg.imageRow, state->reg.imageCol, &image)) return 0;
    if (image.destRow > state->page.pageRows) return 0;  // starts below the page
    if (!ImageMeetsBandRows(image, state->window)) return 0;
    MarkImageInBand(&state->window, image, kRowFlagImage);
    RDUseBytePixels(state);  // images are painted in bytes

    ImagePainter painter;
    if (!painter.Prepare(state, image, tag)) return 0;
    const ImageWindow& window = painter.Window();
    const StretchTable& rows = painter.Rows();
    uint32_t pageRow = window.top;
    for (uint32_t k = 0; k < rows.Entries(); ++k) {
        const uint32_t copies = rows.counts[k];
        if (copies == 0) continue;  // a reduction drops this source row
        painter.Expand(rows.first + k);
        for (uint32_t i = 0; i < copies; ++i) painter.Paint(pageRow++, window.left, window.right);
    }
    return 1;
}

}  // namespace

int RenderingImage(RenderState* state, const DLImage& image) {
    return DrawImage(state, image, kImageTagPhoto);
}

int RenderingBitBlt(RenderState* state, const DLImage& image) {
    return DrawImage(state, image, kImageTagGraphics);
}
