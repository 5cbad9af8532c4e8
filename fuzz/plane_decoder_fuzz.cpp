// Feeds arbitrary bytes to the plane decoders. The first byte picks the
// compression code, the next three the plane shape: 1..2048 bytes (LE16,
// wide enough for the bands of a page at 1200 dpi) x 1..256 lines; the rest
// is the plane data. Nothing may crash, read out of bounds or accept data
// without producing exactly the plane.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "decode/plane_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    static const uint8_t kCodes[] = {kCompressRaw, kCompressOffsetTable, kCompressLzw, 0x00};
    const uint8_t code = kCodes[data[0] % 4];
    const uint32_t width = 1 + (data[1] | uint32_t{data[2]} << 8) % 2048;
    const uint32_t lines = 1 + data[3];
    std::vector<uint8_t> plane;
    std::string error;
    const bool ok = DecodePlane(code, data + 4, size - 4, width, lines, &plane, &error);
    if (ok && plane.size() != size_t{width} * lines) std::abort();
    if (!ok && error.empty()) std::abort();
    return 0;
}
