// Image records (DL_STRETCH_IMAGE, DL_BLT_IMAGE) from image files' pixels:
// 24 bits (B, G, R and a spare byte per pixel) for colour images, 8-bit grey
// with a grey palette for grey ones, or 4 and 1 bits with grey palettes.
#pragma once

#include <cstdint>
#include <string>

#include "encode/dl_writer.h"
#include "image/image.h"

struct ImageRecordOptions {
    bool stretch = false;       // DL_STRETCH_IMAGE rather than DL_BLT_IMAGE
    uint32_t bitsPerPixel = 0;  // 1, 4, 8 or 24; 0 = 24 for colour images, 8 for grey
    uint32_t width = 0;         // destination dots; 0 = the image's size
    uint32_t height = 0;
    bool mirror = false;
    bool rotate = false;  // the record's rotated flag: its two extents swap roles
};

bool MakeImageRecord(const Image8& image, const ImageRecordOptions& options, DLImageRecord* record,
                     std::string* error);
