#include "job/image_records.h"

#include "formats/display_list.h"

namespace {

void AddPaletteEntry(std::vector<uint8_t>& palette, uint8_t grey) {
    palette.insert(palette.end(), {grey, grey, grey, 0});  // B, G, R, 0
}

// Packs one row of grey levels at `bits` per pixel (1 or 4), most
// significant bits first.
void PackRow(const Image8& image, uint32_t y, uint32_t bits, uint8_t* row) {
    for (uint32_t x = 0; x < image.width; ++x) {
        const uint8_t grey = image.Grey(x, y);
        if (bits == 1) {
            if (grey >= 128) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        } else {
            const uint8_t level = static_cast<uint8_t>((grey * 15 + 127) / 255);
            row[x / 2] |= static_cast<uint8_t>(x % 2 ? level : level << 4);
        }
    }
}

}  // namespace

bool MakeImageRecord(const Image8& image, const ImageRecordOptions& options, DLImageRecord* record,
                     std::string* error) {
    if (image.width == 0 || image.height == 0 || image.width > 0xFFFF || image.height > 0xFFFF) {
        *error = "image size outside 1..65535";
        return false;
    }
    const uint32_t bits = options.bitsPerPixel ? options.bitsPerPixel : image.IsColour() ? 24 : 8;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) {
        *error = "bits per pixel must be 1, 4, 8 or 24";
        return false;
    }
    // The size on the page; a rotated image is shown turned, as wide as the
    // file is high.
    const uint32_t width = options.width ? options.width : options.rotate ? image.height : image.width;
    const uint32_t height = options.height ? options.height : options.rotate ? image.width : image.height;
    if (width > 0xFFFF || height > 0xFFFF) {
        *error = "destination size over 65535 dots";
        return false;
    }
    DLImageRecord r;
    r.bitsPerPixel = static_cast<uint8_t>(bits);
    r.flags = static_cast<uint8_t>((options.rotate ? kDLImageRotated : 0) |
                                   (options.mirror ? kDLImageMirrored : 0));
    r.srcRows = static_cast<uint16_t>(image.height);
    r.srcWidth = static_cast<uint16_t>(image.width);
    // Unrotated the first extent is rows; rotated it is columns.
    r.destRows = static_cast<uint16_t>(options.rotate ? width : height);
    r.destCols = static_cast<uint16_t>(options.rotate ? height : width);
    const uint32_t stride = ImageRowBytes(image.width, bits);
    r.pixels.assign(size_t{stride} * image.height, 0);
    if (bits == 1) {
        AddPaletteEntry(r.palette, 0);
        AddPaletteEntry(r.palette, 255);
    } else if (bits == 4) {
        for (uint32_t i = 0; i < 16; ++i) AddPaletteEntry(r.palette, static_cast<uint8_t>(i * 17));
    } else if (bits == 8) {
        for (uint32_t i = 0; i < 256; ++i) AddPaletteEntry(r.palette, static_cast<uint8_t>(i));
    }
    for (uint32_t y = 0; y < image.height; ++y) {
        uint8_t* row = r.pixels.data() + size_t{y} * stride;
        if (bits == 1 || bits == 4) {
            PackRow(image, y, bits, row);
        } else if (bits == 8) {
            for (uint32_t x = 0; x < image.width; ++x) row[x] = image.Grey(x, y);
        } else {
            for (uint32_t x = 0; x < image.width; ++x) {
                const size_t at = (size_t{y} * image.width + x) * image.channels;
                const uint8_t red = image.pixels[at];
                const uint8_t green = image.IsColour() ? image.pixels[at + 1] : red;
                const uint8_t blue = image.IsColour() ? image.pixels[at + 2] : red;
                row[x * 4] = blue;
                row[x * 4 + 1] = green;
                row[x * 4 + 2] = red;
            }
        }
    }
    *record = std::move(r);
    return true;
}
