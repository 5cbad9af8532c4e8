// Pictures of decoded pages, as the printer would put the dots on paper: a
// grey page (one black plane) becomes a grey picture, black dots on white; a
// colour page becomes an RGB picture in which each ink takes its share away
// from white (cyan takes red, magenta green, yellow blue, black all three).
// A factor N > 1 averages each N x N block of dots into one pixel, so that a
// 600 dpi page becomes a picture of a viewable size.
#pragma once

#include <cstdint>

#include "decode/decoded_job.h"
#include "image/image.h"

// Whether the page carries any colour plane (ids 1 to 3).
bool PageHasColour(const DecodedPage& page);

// False for a factor of 0 or a page without a size.
bool MakePagePicture(const DecodedPage& page, uint32_t factor, Image8* picture);
