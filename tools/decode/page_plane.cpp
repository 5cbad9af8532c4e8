#include "decode/page_plane.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

// The bits of a row's last byte that lie right of the page width.
uint8_t PaddingMask(uint32_t width) {
    const uint32_t used = width % 8;
    return used == 0 ? uint8_t{0} : static_cast<uint8_t>(0xFF >> used);
}

}  // namespace

bool PagePlane::Dot(uint32_t x, uint32_t y) const {
    if (x >= width || y >= height || !Allocated()) return false;
    const uint8_t byte = bits[size_t{y} * stride + x / 8];
    return (byte & (0x80 >> (x % 8))) == 0;
}

uint64_t CountDots(const uint8_t* bytes, size_t size) {
    uint64_t dots = 0;
    size_t i = 0;
    // Eight bytes at a time; the order of the bytes does not matter here.
    for (; i + 8 <= size; i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes + i, 8);
        dots += static_cast<uint64_t>(std::popcount(~word));
    }
    for (; i < size; ++i) dots += static_cast<uint64_t>(std::popcount(static_cast<uint8_t>(~bytes[i])));
    return dots;
}

void PagePlaneAllocate(PagePlane* plane, uint32_t width, uint32_t height) {
    plane->width = width;
    plane->height = height;
    plane->stride = (width + 7) / 8;
    plane->bits.assign(size_t{plane->stride} * height, 0xFF);
    plane->dots = 0;
}

uint64_t PagePlanePlaceBand(PagePlane* plane, const uint8_t* band, uint32_t bandWidthBytes, uint32_t lines,
                            uint32_t firstLine) {
    const uint32_t inPageLines = firstLine >= plane->height ? 0 : std::min(lines, plane->height - firstLine);
    const uint32_t copied = std::min(bandWidthBytes, plane->stride);
    // Only a band that reaches the page's last byte brings bits of its padding.
    const uint8_t padding = copied == plane->stride ? PaddingMask(plane->width) : 0;
    uint64_t outside = 0;
    for (uint32_t row = 0; row < inPageLines; ++row) {
        const uint8_t* from = band + size_t{row} * bandWidthBytes;
        uint8_t* to = plane->bits.data() + size_t{firstLine + row} * plane->stride;
        std::memcpy(to, from, copied);
        if (padding != 0) {
            outside +=
                static_cast<uint64_t>(std::popcount(static_cast<uint8_t>(~from[copied - 1] & padding)));
            to[copied - 1] |= padding;
        }
        outside += CountDots(from + copied, bandWidthBytes - copied);
    }
    const size_t belowPage = size_t{lines - inPageLines} * bandWidthBytes;
    outside += CountDots(band + size_t{inPageLines} * bandWidthBytes, belowPage);
    return outside;
}

void PagePlaneCountDots(PagePlane* plane) { plane->dots = CountDots(plane->bits.data(), plane->bits.size()); }
