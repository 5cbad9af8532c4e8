// Display-list playback: replays a page's whole display list into the
// current render band.
#pragma once

#include <cstdint>

#include "render_state.h"

class PlaybackIndex;

// Plays the chunks displayList .. displayListEnd into the band set up by
// RDInitializeBand. rowOrigin and colOrigin are added to every absolute
// position of the list (page shifts). Malformed lists are safe: a record that
// runs past its chunk ends that chunk, and nothing is drawn outside the band.
// Returns 1.
//
// A page played band by band may pass an index (playback_index.h), empty
// for the first playback of the list, which records it, and the same for
// the later playbacks of the same list from the same origins, which then
// jump over the glyph runs that miss their band.
int PlayFrameBuffer(RenderState* state, uint32_t rowOrigin, uint32_t colOrigin,
                    PlaybackIndex* index = nullptr);

// Largest resampled glyph or bitmap mask (bytes) that is drawn under a
// scale; a larger one is skipped rather than allocated for every band.
constexpr uint32_t kMaxScaledMaskBytes = 32u << 20;
