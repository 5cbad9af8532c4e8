// The band test and dispatch of render requests, and the bookkeeping that
// goes with every drawn request: row flags, drawn box, pure-colour flags.
#pragma once

#include <cstdint>

#include "render_state.h"

// Clips `req` to the rows of the current band and hands it to the current
// raster kernel (or, between watermark brackets, to the watermark drawers).
// A mask with a bitOffset is realigned first. Requests outside the band, or
// ending left of their start, are dropped.
void DoRender(RenderState* state, TRect* req);

// 0 when a fill request cannot touch the band or its horizontal clip, or is
// empty; the interpreter then drops it before DoRender.
int RDClipTRect(const BandWindow& window, const TRect* req);

// Row flags of rows row .. row+rows-1 inside the band: flag 2 or 3 is
// written; flag 1 only where nothing was recorded yet.
constexpr uint8_t kRowFlagNone = 0;
constexpr uint8_t kRowFlagBlackWhite = 1;
constexpr uint8_t kRowFlagColour = 2;
constexpr uint8_t kRowFlagImage = 3;
void SetLineFlag(BandWindow* window, uint32_t row, uint32_t rows, uint8_t flag);

// Grows the band's drawn box by a request box (bottom and right exclusive
// as the request gives them).
void SetRenderingRect(BandWindow* window, uint32_t top, uint32_t left, uint32_t bottom, uint32_t right);

// channelPure[i]: byte i of colour is 0 or 255; pureColour: all three are.
void SetTextFlag(BandWindow* window, uint32_t colour);

// Span callback of filled paths: fills row, columns x1 .. x2-1.
int RDFillRow1(RenderState* state, TRect* req, uint32_t row, uint32_t x1, uint32_t x2);

// Span callback that records clip runs of the clip path; returns the count.
// The list stops growing at kMaxClipRuns (the rest of the path is not drawn).
constexpr uint32_t kMaxClipRuns = 1u << 20;
int RDAddClipRun(RenderState* state, TRect* req, uint32_t row, uint32_t x1, uint32_t x2);

// Draws the masked request `req` through the clip runs collected for it, one
// row request per run, then empties the run list.
void RDDoRenderClip(RenderState* state, TRect* req);
