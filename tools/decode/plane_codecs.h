// The decoders behind DecodePlane, one per compressed block format, and the
// pieces they share. Everything here reads untrusted bytes: each field is
// checked before it is used and every failure names the byte offset (from the
// start of the plane data) where the block went wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Largest plane a band header can describe (65535 lines of 8191 bytes) is
// far beyond any real band; refuse planes beyond this before allocating.
constexpr uint64_t kMaxDecodedPlaneBytes = uint64_t{1} << 26;

// The shape of the plane being decoded.
struct PlaneShape {
    uint32_t widthBytes;
    uint32_t lines;
    size_t size;  // widthBytes x lines
};

// 0x12: magic 0x29ABCDEF / 0x19ABCDEF, code-stream length or -1, codes.
bool DecodeLzwPlane(const uint8_t* data, size_t size, const PlaneShape& shape, std::vector<uint8_t>* plane,
                    std::string* error);

// 0x11: magic 0x09ABCDEF, leading-literal count or -1, distances, tokens.
bool DecodeOffsetTablePlane(const uint8_t* data, size_t size, const PlaneShape& shape,
                            std::vector<uint8_t>* plane, std::string* error);

// Rebuilds the natural row order from byte columns (all lines of column 0,
// then column 1, ...).
void UntransposeColumns(const std::vector<uint8_t>& columns, const PlaneShape& shape,
                        std::vector<uint8_t>* plane);

// Sets *error to "<block>, byte <offset>: <what>" and returns false.
bool DecodeFailure(std::string* error, const char* block, size_t offset, const std::string& what);
