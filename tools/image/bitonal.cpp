#include "image/bitonal.h"

#include "formats/display_list.h"

namespace {

void SetInk(Mask1& mask, uint32_t stride, uint32_t x, uint32_t y) {
    mask.bits[size_t{y} * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
}

// Grey levels of the resized image as ints, for error diffusion.
std::vector<int> GreyLevels(const Image8& image) {
    std::vector<int> grey(size_t{image.width} * image.height);
    for (uint32_t y = 0; y < image.height; ++y)
        for (uint32_t x = 0; x < image.width; ++x) grey[size_t{y} * image.width + x] = image.Grey(x, y);
    return grey;
}

// Floyd-Steinberg: each pixel's error goes 7/16 right, 3/16 below left,
// 5/16 below and 1/16 below right.
void Diffuse(std::vector<int>& grey, uint32_t width, uint32_t height, Mask1& mask, uint32_t stride) {
    for (uint32_t y = 0; y < height; ++y) {
        int* row = grey.data() + size_t{y} * width;
        int* below = y + 1 < height ? row + width : nullptr;
        for (uint32_t x = 0; x < width; ++x) {
            const bool ink = row[x] < 128;
            if (ink) SetInk(mask, stride, x, y);
            const int error = row[x] - (ink ? 0 : 255);
            if (x + 1 < width) row[x + 1] += error * 7 / 16;
            if (below) {
                if (x > 0) below[x - 1] += error * 3 / 16;
                below[x] += error * 5 / 16;
                if (x + 1 < width) below[x + 1] += error / 16;
            }
        }
    }
}

}  // namespace

bool Mask1::Ink(uint32_t x, uint32_t y) const {
    if (x >= width || y >= rows) return false;
    return (bits[size_t{y} * MaskStride(width) + x / 8] & (0x80 >> (x % 8))) != 0;
}

Image8 ResizeNearest(const Image8& image, uint32_t width, uint32_t height) {
    Image8 out;
    out.width = width;
    out.height = height;
    out.channels = image.channels;
    out.pixels.resize(size_t{width} * height * image.channels);
    for (uint32_t y = 0; y < height; ++y) {
        const uint32_t sy = static_cast<uint32_t>(uint64_t{y} * image.height / height);
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t sx = static_cast<uint32_t>(uint64_t{x} * image.width / width);
            for (uint32_t c = 0; c < image.channels; ++c)
                out.pixels[(size_t{y} * width + x) * image.channels + c] =
                    image.pixels[(size_t{sy} * image.width + sx) * image.channels + c];
        }
    }
    return out;
}

Mask1 MakeMask(const Image8& image, const MaskOptions& options) {
    Mask1 mask;
    if (image.width == 0 || image.height == 0) return mask;
    const uint32_t width = options.width ? options.width : image.width;
    uint64_t height = options.height;
    if (height == 0) height = (uint64_t{image.height} * width + image.width / 2) / image.width;
    if (width == 0 || height == 0 || width > kImageMaxSide || height > kImageMaxSide) return mask;
    const Image8 sized = ResizeNearest(image, width, static_cast<uint32_t>(height));
    mask.width = width;
    mask.rows = static_cast<uint32_t>(height);
    const uint32_t stride = MaskStride(width);
    mask.bits.assign(size_t{stride} * mask.rows, 0);
    std::vector<int> grey = GreyLevels(sized);
    if (options.method == MaskMethod::Dither) {
        Diffuse(grey, width, mask.rows, mask, stride);
    } else {
        for (uint32_t y = 0; y < mask.rows; ++y)
            for (uint32_t x = 0; x < width; ++x)
                if (grey[size_t{y} * width + x] < options.threshold) SetInk(mask, stride, x, y);
    }
    return mask;
}
