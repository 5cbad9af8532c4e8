// Image files by content: PNM (P4, P5, P6) in every build, PNG where libpng
// is available. Pictures are written as PNG when possible, else as PNM.
#pragma once

#include <string>

#include "image/image.h"
#include "sys/text.h"

bool ReadImageFile(sys::WStringView path, Image8* image, std::string* error);
bool DecodeImageBytes(const uint8_t* data, size_t size, Image8* image, std::string* error);

// The file name extension pictures get in this build: ".png" or ".pnm".
const char* PictureExtension();
bool WritePictureFile(sys::WStringView path, const Image8& image, std::string* error);
