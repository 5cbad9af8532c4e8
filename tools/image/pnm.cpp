#include "image/pnm.h"

#include <string_view>

namespace {

class PnmHeaderReader {
public:
    PnmHeaderReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Offset() const { return pos_; }

    // A decimal number after whitespace and comments.
    bool Number(uint32_t* value) {
        SkipSpaceAndComments();
        if (pos_ >= size_ || data_[pos_] < '0' || data_[pos_] > '9') return false;
        uint64_t v = 0;
        while (pos_ < size_ && data_[pos_] >= '0' && data_[pos_] <= '9') {
            v = v * 10 + (data_[pos_++] - '0');
            if (v > 0xFFFFFFFFu) return false;
        }
        *value = static_cast<uint32_t>(v);
        return true;
    }

    // The single whitespace byte that ends the header.
    bool EndOfHeader() {
        if (pos_ >= size_ || !IsSpace(data_[pos_])) return false;
        ++pos_;
        return true;
    }

private:
    static bool IsSpace(uint8_t c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    }

    void SkipSpaceAndComments() {
        while (pos_ < size_) {
            if (IsSpace(data_[pos_])) {
                ++pos_;
            } else if (data_[pos_] == '#') {
                while (pos_ < size_ && data_[pos_] != '\n' && data_[pos_] != '\r') ++pos_;
            } else {
                break;
            }
        }
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 2;  // after the magic
};

bool Fail(std::string* error, const std::string& what) {
    *error = what;
    return false;
}

// One sample scaled from 0..maxval to 0..255, rounding to nearest.
uint8_t Scale(uint32_t sample, uint32_t maxval) {
    if (sample > maxval) sample = maxval;
    return static_cast<uint8_t>((sample * 255 + maxval / 2) / maxval);
}

void DecodeBits(const uint8_t* raster, Image8* image) {
    const size_t rowBytes = (size_t{image->width} + 7) / 8;
    for (uint32_t y = 0; y < image->height; ++y) {
        const uint8_t* row = raster + y * rowBytes;
        uint8_t* out = image->pixels.data() + size_t{y} * image->width;
        for (uint32_t x = 0; x < image->width; ++x)
            out[x] = (row[x / 8] & (0x80 >> (x % 8))) ? 0 : 255;  // 1 is black
    }
}

void DecodeSamples(const uint8_t* raster, uint32_t maxval, Image8* image) {
    const size_t samples = image->pixels.size();
    if (maxval <= 255) {
        for (size_t i = 0; i < samples; ++i) image->pixels[i] = Scale(raster[i], maxval);
    } else {
        for (size_t i = 0; i < samples; ++i)
            image->pixels[i] = Scale(uint32_t{raster[2 * i]} << 8 | raster[2 * i + 1], maxval);
    }
}

}  // namespace

bool DecodePnm(const uint8_t* data, size_t size, Image8* image, std::string* error) {
    if (size < 2 || data[0] != 'P' || (data[1] != '4' && data[1] != '5' && data[1] != '6'))
        return Fail(error, "not a PNM image (P4, P5 or P6)");
    const char kind = static_cast<char>(data[1]);
    PnmHeaderReader header(data, size);
    uint32_t width = 0, height = 0, maxval = 1;
    if (!header.Number(&width) || !header.Number(&height))
        return Fail(error, "PNM header: width and height missing");
    if (kind != '4' && !header.Number(&maxval)) return Fail(error, "PNM header: maxval missing");
    if (!header.EndOfHeader()) return Fail(error, "PNM header: no whitespace before the pixels");
    if (width == 0 || height == 0 || width > kImageMaxSide || height > kImageMaxSide ||
        uint64_t{width} * height > kImageMaxPixels)
        return Fail(error, "PNM image of " + std::to_string(width) + " x " + std::to_string(height) +
                               " pixels is empty or too large");
    if (maxval == 0 || maxval > 65535) return Fail(error, "PNM maxval " + std::to_string(maxval));

    image->width = width;
    image->height = height;
    image->channels = kind == '6' ? 3 : 1;
    uint64_t rasterBytes = 0;
    if (kind == '4') {
        rasterBytes = (uint64_t{width} + 7) / 8 * height;
    } else {
        rasterBytes = uint64_t{width} * height * image->channels * (maxval > 255 ? 2 : 1);
    }
    const size_t start = header.Offset();
    if (rasterBytes > size - start)
        return Fail(error, "PNM pixels truncated: " + std::to_string(rasterBytes) + " bytes needed, " +
                               std::to_string(size - start) + " present");
    image->pixels.assign(size_t{width} * height * image->channels, 0);
    if (kind == '4') DecodeBits(data + start, image);
    else DecodeSamples(data + start, maxval, image);
    return true;
}

std::vector<uint8_t> EncodePnm(const Image8& image) {
    const std::string header = std::string(image.IsColour() ? "P6" : "P5") + "\n" +
                               std::to_string(image.width) + " " + std::to_string(image.height) + "\n255\n";
    std::vector<uint8_t> out(header.begin(), header.end());
    out.insert(out.end(), image.pixels.begin(), image.pixels.end());
    return out;
}
