// Compresses arbitrary planes with both coders and decodes them again: the
// plane must come back unchanged, and the block must fit the output buffer.
// The first bytes pick the shape (1..64 bytes x 1..128 lines) and the band
// index; the plane is the rest, repeated to fill the shape.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "decode/plane_decoder.h"
#include "pipeline/band_compressor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const uint32_t width = 1 + data[0] % 64;
    const uint32_t lines = 1 + data[1] % 128;
    const uint32_t bandIndex = data[2] % 8;
    const uint32_t resolution = data[3] & 1 ? 1200 : 600;
    data += 4;
    size -= 4;
    std::vector<uint8_t> plane(size_t{width} * lines, 0xFF);
    for (size_t i = 0; size != 0 && i < plane.size(); ++i) plane[i] = data[i % size];

    FBCompressTables tables;
    for (bool objectFlag : {true, false}) {
        std::vector<uint8_t> out(CompressOutBytes(width, lines));
        std::vector<uint8_t> work(CompressWorkBytes(width, lines));
        uint8_t code = 0;
        const uint32_t length = CompressOneBand(out.data(), plane.data(), bandIndex, 8, lines, width,
                                                work.data(), &code, resolution, objectFlag, &tables);
        if (length > out.size()) std::abort();
        std::vector<uint8_t> block(out.begin(), out.begin() + length);  // exact size for ASan
        std::vector<uint8_t> decoded;
        std::string error;
        if (!DecodePlane(code, block.data(), block.size(), width, lines, &decoded, &error)) std::abort();
        if (decoded != plane) std::abort();
    }
    return 0;
}
