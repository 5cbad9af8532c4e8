// Images through the clip path (DL_CLIP_MODE 3): the clip runs of the
// current path over the image's box are collected first, and only the
// pixels of those runs are drawn.
//
// The runs come in the order the scan converter produced them, mostly row by
// row; the source row under a run is found from the row stretch rule and
// expanded once for all the runs over it in a row.
#include <algorithm>

#include "bit_band.h"
#include "do_render.h"
#include "drawing_seams.h"
#include "image_painter.h"

namespace {

int PaintThroughRuns(ImagePainter& painter, const std::vector<ClipRun>& runs) {
    const ImageWindow& window = painter.Window();
    bool expandedAny = false;
    uint32_t expanded = 0;
    int painted = 0;
    for (const ClipRun& run : runs) {
        if (run.row < window.top || run.row >= window.bottom) continue;
        const uint32_t x1 = std::max(run.x1, window.left);
        const uint32_t x2 = std::min(run.x2, window.right);
        if (x1 >= x2) continue;
        const uint32_t source = painter.SourceRowOf(run.row);
        if (!expandedAny || source != expanded) {
            painter.Expand(source);
            expanded = source;
            expandedAny = true;
        }
        painter.Paint(run.row, x1, x2);
        painted = 1;
    }
    return painted;
}

}  // namespace

int GetScanLineForBmp(RenderState* state, const DLImage& record) {
    ImageDescriptor image;
    if (!DescribeImage(record, state->reg.imageRow, state->reg.imageCol, &image)) return 0;
    // The box of the drawn pixels: the lead is not part of it, as the source
    // rows are read from after their lead.
    TRect box;
    box.row = image.destRow;
    box.rows = std::min(image.destRows, UINT32_MAX - image.destRow);
    box.xs = image.destCol;
    box.xe = static_cast<uint32_t>(std::min<uint64_t>(image.DestRight(), UINT32_MAX));
    RDMakeClipPath(state->doc.pathGenerator, state->window, RDAddClipRun, state, &box);
    return static_cast<int>(state->window.clipRuns.size());
}

int ClipRenderImage(RenderState* state, const DLImage& record, uint32_t tag) {
    std::vector<ClipRun>& runs = state->window.clipRuns;
    int painted = 0;
    ImageDescriptor image;
    if (!runs.empty() && DescribeImage(record, state->reg.imageRow, state->reg.imageCol, &image) &&
        image.destRow <= state->page.pageRows && ImageMeetsBandRows(image, state->window)) {
        MarkImageInBand(&state->window, image, tag == kImageTagGraphics ? kRowFlagColour : kRowFlagImage);
        RDUseBytePixels(state);  // images are painted in bytes
        ImagePainter painter;
        if (painter.Prepare(state, image, tag)) painted = PaintThroughRuns(painter, runs);
    }
    runs.clear();
    return painted;
}
