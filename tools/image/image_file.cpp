#include "image/image_file.h"

#include <vector>

#include "image/png_codec.h"
#include "image/pnm.h"
#include "job/file_bytes.h"

namespace {

constexpr uint64_t kMaxImageFileBytes = uint64_t{1} << 29;

bool IsPng(const uint8_t* data, size_t size) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < sizeof kSignature) return false;
    for (size_t i = 0; i < sizeof kSignature; ++i)
        if (data[i] != kSignature[i]) return false;
    return true;
}

}  // namespace

bool DecodeImageBytes(const uint8_t* data, size_t size, Image8* image, std::string* error) {
    if (IsPng(data, size)) return DecodePng(data, size, image, error);
    return DecodePnm(data, size, image, error);
}

bool ReadImageFile(sys::WStringView path, Image8* image, std::string* error) {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, kMaxImageFileBytes, &bytes, error)) return false;
    std::string detail;
    if (!DecodeImageBytes(bytes.data(), bytes.size(), image, &detail)) {
        *error = sys::Narrow(path) + ": " + detail;
        return false;
    }
    return true;
}

const char* PictureExtension() { return PngAvailable() ? ".png" : ".pnm"; }

bool WritePictureFile(sys::WStringView path, const Image8& image, std::string* error) {
    std::vector<uint8_t> bytes;
    if (PngAvailable()) {
        if (!EncodePng(image, &bytes, error)) return false;
    } else {
        bytes = EncodePnm(image);
    }
    return WriteFileBytes(path, bytes, error);
}
