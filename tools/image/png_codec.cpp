#include "image/png_codec.h"

#if defined(ZEBL_HAVE_PNG)

#include <png.h>

bool PngAvailable() { return true; }

bool DecodePng(const uint8_t* data, size_t size, Image8* image, std::string* error) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data, size)) {
        *error = std::string("PNG: ") + png.message;
        return false;
    }
    if (png.width == 0 || png.height == 0 || png.width > kImageMaxSide || png.height > kImageMaxSide ||
        uint64_t{png.width} * png.height > kImageMaxPixels) {
        *error = "PNG image of " + std::to_string(png.width) + " x " + std::to_string(png.height) +
                 " pixels is empty or too large";
        png_image_free(&png);
        return false;
    }
    const bool colour = (png.format & PNG_FORMAT_FLAG_COLOR) != 0;
    png.format = colour ? PNG_FORMAT_RGB : PNG_FORMAT_GRAY;
    image->width = png.width;
    image->height = png.height;
    image->channels = colour ? 3 : 1;
    image->pixels.assign(PNG_IMAGE_SIZE(png), 0);
    const png_color white{255, 255, 255};
    if (!png_image_finish_read(&png, &white, image->pixels.data(), 0, nullptr)) {
        *error = std::string("PNG: ") + png.message;
        png_image_free(&png);
        return false;
    }
    return true;
}

bool EncodePng(const Image8& image, std::vector<uint8_t>* out, std::string* error) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = image.width;
    png.height = image.height;
    png.format = image.IsColour() ? PNG_FORMAT_RGB : PNG_FORMAT_GRAY;
    png_alloc_size_t size = 0;
    // First call: the size; second: the bytes.
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, image.pixels.data(), 0, nullptr)) {
        *error = std::string("PNG: ") + png.message;
        return false;
    }
    out->resize(size);
    if (!png_image_write_to_memory(&png, out->data(), &size, 0, image.pixels.data(), 0, nullptr)) {
        *error = std::string("PNG: ") + png.message;
        return false;
    }
    out->resize(size);
    return true;
}

#else

bool PngAvailable() { return false; }

bool DecodePng(const uint8_t*, size_t, Image8*, std::string* error) {
    *error = "PNG images are not available in this build (use PNM: P4, P5 or P6)";
    return false;
}

bool EncodePng(const Image8&, std::vector<uint8_t>*, std::string* error) {
    *error = "PNG pictures are not available in this build";
    return false;
}

#endif
