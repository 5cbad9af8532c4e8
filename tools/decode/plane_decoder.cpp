#include "decode/plane_decoder.h"

#include <cstdio>

#include "decode/plane_codecs.h"

bool DecodeFailure(std::string* error, const char* block, size_t offset, const std::string& what) {
    *error = std::string(block) + ", byte " + std::to_string(offset) + ": " + what;
    return false;
}

void UntransposeColumns(const std::vector<uint8_t>& columns, const PlaneShape& shape,
                        std::vector<uint8_t>* plane) {
    plane->resize(shape.size);
    uint8_t* rows = plane->data();
    for (uint32_t column = 0; column < shape.widthBytes; ++column) {
        const uint8_t* from = columns.data() + static_cast<size_t>(column) * shape.lines;
        for (uint32_t line = 0; line < shape.lines; ++line) {
            rows[static_cast<size_t>(line) * shape.widthBytes + column] = from[line];
        }
    }
}

bool DecodePlane(uint8_t compression, const uint8_t* data, size_t size, uint32_t widthBytes, uint32_t lines,
                 std::vector<uint8_t>* plane, std::string* error) {
    std::string ignored;
    if (error == nullptr) error = &ignored;
    plane->clear();

    const uint64_t planeBytes = uint64_t{widthBytes} * lines;
    if (planeBytes > kMaxDecodedPlaneBytes) {
        *error = "plane of " + std::to_string(widthBytes) + " x " + std::to_string(lines) +
                 " bytes is larger than any band";
        return false;
    }
    const PlaneShape shape{widthBytes, lines, static_cast<size_t>(planeBytes)};

    switch (compression) {
        case kCompressRaw:
            if (size != shape.size) {
                return DecodeFailure(
                    error, "raw plane", 0,
                    std::to_string(size) + " bytes for a plane of " + std::to_string(shape.size));
            }
            plane->assign(data, data + size);
            return true;
        case kCompressOffsetTable: return DecodeOffsetTablePlane(data, size, shape, plane, error);
        case kCompressLzw: return DecodeLzwPlane(data, size, shape, plane, error);
        default: {
            char code[8];
            std::snprintf(code, sizeof code, "0x%02X", compression);
            *error = std::string("unknown compression code ") + code;
            return false;
        }
    }
}
