// Netpbm images: P4 (1 bit, 1 = black), P5 (grey) and P6 (RGB), with
// samples of one byte (maxval up to 255) or two big-endian bytes (up to
// 65535), scaled to 0..255. Comments ('#' to the end of the line) may appear
// anywhere in the header. The reader checks every field and never reads past
// the bytes it was given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "image/image.h"

bool DecodePnm(const uint8_t* data, size_t size, Image8* image, std::string* error);
// P5 for grey images, P6 for RGB, maxval 255.
std::vector<uint8_t> EncodePnm(const Image8& image);
