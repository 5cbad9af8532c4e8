// A grey band drawn at one bit per pixel while it holds only black and
// white.
//
// Text pages are black glyphs on white. Drawn as bytes, every glyph pixel is
// eight bits of which the screen later keeps one; drawn as bits, the band is
// already the printer plane (black screens to a dot and white to none under
// the page's screen, which the page printer checks first). A band starts in
// bits when the page printer lends it one-bit rows; the first request that
// bits cannot hold (a grey level, a brush, an image, a line, a watermark)
// widens what was drawn into the byte buffer, and the band goes on in bytes
// exactly as if it had never been in bits.
#pragma once

#include <cstdint>

#include "render_state.h"

// At the start of a band: when the window has one-bit rows for all of its
// rows and row flags to follow them, whitens them and draws in bits;
// otherwise draws in bytes.
void RDStartBitBand(BandWindow* window, const RenderPage& page);

// Draws a request DoRender has clipped to the band rows in the one-bit rows.
// Returns false, having drawn nothing, when bits cannot hold its result.
bool RDDrawInBits(RenderState* state, const TRect& req);

// Leaves bits for the rest of the band: the rows drawn so far (their row
// flags say which) are widened into the byte buffer. Nothing to do for a
// band in bytes. Every drawer that writes the byte buffer other than through
// DoRender calls it first.
void RDUseBytePixels(RenderState* state);

// Whitens one-bit rows firstRow .. firstRow + rows - 1 of a band in bits.
void RDWhitenBitRows(BandWindow* window, uint32_t firstRow, uint32_t rows);
