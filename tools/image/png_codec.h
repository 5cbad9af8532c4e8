// PNG images through libpng (native build only; ZEBL_HAVE_PNG). Reading
// gives grey or RGB 8-bit pixels, an alpha channel composited onto white;
// writing makes an 8-bit grey or RGB PNG.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "image/image.h"

// Whether this build can read and write PNG.
bool PngAvailable();

bool DecodePng(const uint8_t* data, size_t size, Image8* image, std::string* error);
bool EncodePng(const Image8& image, std::vector<uint8_t>* png, std::string* error);
