// Decompression of the planes of a band record, as the printer does it:
// 0x0A raw, 0x11 offset-table coding, 0x12 LZW. Used by `zebl decode` and by
// the tests that read back what the rendering library wrote.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum : uint8_t {
    kCompressRaw = 0x0A,
    kCompressOffsetTable = 0x11,
    kCompressLzw = 0x12,
};

// Decodes one plane of widthBytes x lines bytes. On success `plane` holds the
// rows in their natural (untransposed) order. On malformed data returns false
// and says why in *error; never reads outside [data, data + size).
bool DecodePlane(uint8_t compression, const uint8_t* data, size_t size, uint32_t widthBytes, uint32_t lines,
                 std::vector<uint8_t>* plane, std::string* error);
