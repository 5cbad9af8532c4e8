// Decoder of offset-table plane blocks (compression code 0x11).
//
//     0  magic 0x09ABCDEF (little-endian)
//     4  L leading literal bytes, 0..128, or 0xFFFFFFFF: the raw plane follows
//     8  64 distances, 16-bit little-endian
//   136  L bytes, then tokens until the plane is complete:
//        0nnnnnnn                 n + 1 literal bytes follow
//        1mmmmmmm MMkkkkkk        copy m + 3 bytes (m = MM:mmmmmmm, 9 bits)
//                                 from distance table[k] back; may overlap
// The data is in byte columns when the plane has more than one line and more
// than one byte per line; the raw form is always in rows.
#include <algorithm>
#include <array>

#include "decode/byte_cursor.h"
#include "decode/plane_codecs.h"

namespace {

constexpr const char* kBlock = "offset-table block";
constexpr uint32_t kMagic = 0x09ABCDEF;
constexpr uint32_t kRawForm = 0xFFFFFFFF;
constexpr size_t kHeaderBytes = 8;
constexpr uint32_t kMaxLeading = 128;
constexpr int kDistances = 64;
constexpr uint64_t kLongestCopy = 514;

using DistanceTable = std::array<uint32_t, kDistances>;

std::string PlaneAt(size_t pos, size_t planeBytes) {
    return "plane byte " + std::to_string(pos) + " of " + std::to_string(planeBytes);
}

bool ReadLiteralRun(ByteCursor* in, uint8_t countByte, size_t tokenAt, uint8_t* out, size_t* pos,
                    size_t planeBytes, std::string* error) {
    const size_t run = size_t{countByte} + 1;
    if (run > planeBytes - *pos) {
        return DecodeFailure(error, kBlock, tokenAt,
                             "literal run of " + std::to_string(run) + " bytes passes the end at " +
                                 PlaneAt(*pos, planeBytes));
    }
    const uint8_t* bytes = nullptr;
    if (!in->Take(run, &bytes)) {
        return DecodeFailure(error, kBlock, tokenAt,
                             "block ends inside a literal run of " + std::to_string(run) + " bytes");
    }
    std::copy(bytes, bytes + run, out + *pos);
    *pos += run;
    return true;
}

bool ReadCopy(ByteCursor* in, uint8_t first, size_t tokenAt, const DistanceTable& distances, uint8_t* out,
              size_t* pos, size_t planeBytes, std::string* error) {
    uint8_t second = 0;
    if (!in->ReadU8(&second)) {
        return DecodeFailure(error, kBlock, tokenAt, "block ends inside a copy token");
    }
    const size_t length = ((first & 0x7Fu) | (second & 0xC0u) << 1) + 3u;
    const uint32_t slot = second & 0x3Fu;
    const size_t distance = distances[slot];
    if (distance == 0) {
        return DecodeFailure(error, kBlock, tokenAt,
                             "copy from distance slot " + std::to_string(slot) + ", which holds 0");
    }
    if (distance > *pos) {
        return DecodeFailure(error, kBlock, tokenAt,
                             "copy from distance " + std::to_string(distance) +
                                 " reaches before the plane start at " + PlaneAt(*pos, planeBytes));
    }
    if (length > planeBytes - *pos) {
        return DecodeFailure(
            error, kBlock, tokenAt,
            "copy of " + std::to_string(length) + " bytes passes the end at " + PlaneAt(*pos, planeBytes));
    }
    // Byte by byte: a distance shorter than the length repeats the new bytes.
    // (The source is addressed from its own start: to[i - distance] would
    // wrap the unsigned index round for i < distance.)
    uint8_t* to = out + *pos;
    const uint8_t* from = to - distance;
    for (size_t i = 0; i < length; ++i) to[i] = from[i];
    *pos += length;
    return true;
}

bool DecodeTokens(ByteCursor* in, const DistanceTable& distances, uint8_t* out, size_t pos, size_t planeBytes,
                  std::string* error) {
    while (pos < planeBytes) {
        const size_t tokenAt = in->Offset();
        uint8_t first = 0;
        if (!in->ReadU8(&first)) {
            return DecodeFailure(error, kBlock, tokenAt, "block ends at " + PlaneAt(pos, planeBytes));
        }
        const bool ok = (first & 0x80) == 0
                            ? ReadLiteralRun(in, first, tokenAt, out, &pos, planeBytes, error)
                            : ReadCopy(in, first, tokenAt, distances, out, &pos, planeBytes, error);
        if (!ok) return false;
    }
    if (!in->AtEnd()) {
        return DecodeFailure(error, kBlock, in->Offset(),
                             std::to_string(in->Remaining()) + " bytes follow the complete plane");
    }
    return true;
}

}  // namespace

bool DecodeOffsetTablePlane(const uint8_t* data, size_t size, const PlaneShape& shape,
                            std::vector<uint8_t>* plane, std::string* error) {
    ByteCursor in(data, size);
    uint32_t magic = 0, leading = 0;
    if (!in.ReadLE32(&magic) || !in.ReadLE32(&leading)) {
        return DecodeFailure(error, kBlock, 0,
                             "block of " + std::to_string(size) + " bytes is shorter than its 8-byte header");
    }
    if (magic != kMagic) return DecodeFailure(error, kBlock, 0, "bad magic");
    if (leading == kRawForm) {
        if (in.Remaining() != shape.size) {
            return DecodeFailure(error, kBlock, kHeaderBytes,
                                 "raw form holds " + std::to_string(in.Remaining()) +
                                     " bytes for a plane of " + std::to_string(shape.size));
        }
        plane->assign(in.Here(), in.Here() + shape.size);
        return true;
    }
    if (leading > kMaxLeading || leading > shape.size) {
        return DecodeFailure(error, kBlock, 4,
                             std::to_string(leading) + " leading literals (at most 128 and the " +
                                 std::to_string(shape.size) + "-byte plane)");
    }
    DistanceTable distances;
    for (uint32_t& distance : distances) {
        uint16_t value = 0;
        if (!in.ReadLE16(&value)) {
            return DecodeFailure(error, kBlock, in.Offset(), "block ends inside the distance table");
        }
        distance = value;
    }
    const uint8_t* leadingBytes = nullptr;
    if (!in.Take(leading, &leadingBytes)) {
        return DecodeFailure(error, kBlock, in.Offset(), "block ends inside the leading literals");
    }
    // Every two token bytes make at most 514 plane bytes: refuse before allocating.
    if (shape.size - leading > (in.Remaining() / 2) * kLongestCopy + in.Remaining()) {
        return DecodeFailure(error, kBlock, in.Offset(),
                             std::to_string(in.Remaining()) + " token bytes cannot make the " +
                                 std::to_string(shape.size) + "-byte plane");
    }

    std::vector<uint8_t> decoded(shape.size);
    std::copy(leadingBytes, leadingBytes + leading, decoded.begin());
    if (!DecodeTokens(&in, distances, decoded.data(), leading, shape.size, error)) return false;
    if (shape.widthBytes != 1 && shape.lines != 1) {
        UntransposeColumns(decoded, shape, plane);
    } else {
        *plane = std::move(decoded);
    }
    return true;
}
