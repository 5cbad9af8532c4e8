#include "image/page_picture.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace {

// Set bits of row[] in columns [from, to), most significant bit first.
uint32_t CountSetBits(const uint8_t* row, uint32_t from, uint32_t to) {
    uint32_t count = 0;
    while (from < to && from % 8 != 0) {
        count += (row[from / 8] >> (7 - from % 8)) & 1;
        ++from;
    }
    while (from + 8 <= to) {
        count += static_cast<uint32_t>(std::popcount(row[from / 8]));
        from += 8;
    }
    while (from < to) {
        count += (row[from / 8] >> (7 - from % 8)) & 1;
        ++from;
    }
    return count;
}

// The rows of one plane, or all ones (no dot) for a plane no band carried.
class PlaneRows {
public:
    PlaneRows(const PagePlane& plane, uint32_t stride)
        : plane_(plane), usable_(plane.Allocated() && plane.stride >= stride), blank_(stride, 0xFF) {}
    const uint8_t* Row(uint32_t y) const {
        if (!usable_ || y >= plane_.height) return blank_.data();
        return plane_.bits.data() + size_t{y} * plane_.stride;
    }

private:
    const PagePlane& plane_;
    bool usable_;
    std::vector<uint8_t> blank_;
};

}  // namespace

bool PageHasColour(const DecodedPage& page) {
    for (uint8_t id = 1; id <= 3; ++id)
        if (page.Plane(id).Allocated()) return true;
    return false;
}

bool MakePagePicture(const DecodedPage& page, uint32_t factor, Image8* picture) {
    const uint32_t width = page.header.width, height = page.header.height;
    if (factor == 0 || width == 0 || height == 0) return false;
    const uint32_t stride = (width + 7) / 8;
    const bool colour = PageHasColour(page);
    const uint32_t channels = colour ? 3 : 1;
    picture->width = (width + factor - 1) / factor;
    picture->height = (height + factor - 1) / factor;
    picture->channels = channels;
    picture->pixels.assign(picture->RowBytes() * picture->height, 0);

    const PlaneRows black(page.Plane(4), stride);
    // Red stays where neither cyan nor black printed, and so on: with 1 = no
    // dot, a channel's white bits are the AND of its ink's plane and black.
    const PlaneRows inks[3] = {PlaneRows(page.Plane(1), stride), PlaneRows(page.Plane(2), stride),
                               PlaneRows(page.Plane(3), stride)};
    std::vector<uint8_t> white(stride);
    std::vector<uint32_t> sums(size_t{picture->width} * channels);
    for (uint32_t oy = 0; oy < picture->height; ++oy) {
        std::fill(sums.begin(), sums.end(), 0);
        const uint32_t y0 = oy * factor, y1 = std::min(height, y0 + factor);
        for (uint32_t y = y0; y < y1; ++y) {
            const uint8_t* k = black.Row(y);
            for (uint32_t c = 0; c < channels; ++c) {
                const uint8_t* ink = colour ? inks[c].Row(y) : k;
                for (uint32_t i = 0; i < stride; ++i) white[i] = ink[i] & k[i];
                for (uint32_t ox = 0; ox < picture->width; ++ox) {
                    const uint32_t x0 = ox * factor, x1 = std::min(width, x0 + factor);
                    sums[size_t{ox} * channels + c] += CountSetBits(white.data(), x0, x1);
                }
            }
        }
        uint8_t* out = picture->pixels.data() + size_t{oy} * picture->RowBytes();
        for (uint32_t ox = 0; ox < picture->width; ++ox) {
            const uint32_t x0 = ox * factor, x1 = std::min(width, x0 + factor);
            const uint32_t dots = (x1 - x0) * (y1 - y0);
            for (uint32_t c = 0; c < channels; ++c)
                out[ox * channels + c] =
                    static_cast<uint8_t>((sums[size_t{ox} * channels + c] * 255 + dots / 2) / dots);
        }
    }
    return true;
}
