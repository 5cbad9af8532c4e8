// Decoder of LZW plane blocks (compression code 0x12).
//
// The code stream is 12-bit codes packed big-endian, two per three bytes:
//   first  = byte0 << 4 | byte1 >> 4
//   second = (byte1 & 0x0F) << 8 | byte2
// Codes 0..255 stand for single bytes; each code after the first defines the
// next code from 256 on as (previous string + first byte of this string),
// until 4095 is defined; then the dictionary stays as it is. There is no clear
// and no end code; an odd code count is padded with one zero code, which the
// plane length tells apart from data.
#include <array>
#include <cstdio>

#include "decode/byte_cursor.h"
#include "decode/plane_codecs.h"

namespace {

constexpr const char* kBlock = "LZW block";
constexpr uint32_t kMagicColumns = 0x29ABCDEF;
constexpr uint32_t kMagicRows = 0x19ABCDEF;
constexpr uint32_t kRawForm = 0xFFFFFFFF;
constexpr size_t kHeaderBytes = 8;
constexpr uint32_t kFirstDefined = 256;
constexpr uint32_t kLastCode = 4095;
// Each definition adds one byte to a known string: code 4095 is at most this long.
constexpr uint64_t kLongestString = kLastCode - kFirstDefined + 2;

std::string Hex32(uint32_t value) {
    char text[12];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

class LzwDictionary {
public:
    LzwDictionary() {
        for (uint32_t c = 0; c < kFirstDefined; ++c) {
            prefix_[c] = 0;
            last_[c] = first_[c] = static_cast<uint8_t>(c);
            length_[c] = 1;
        }
    }

    uint32_t next() const { return next_; }
    uint8_t First(uint32_t code) const { return first_[code]; }
    uint32_t Length(uint32_t code) const { return length_[code]; }

    // Defines the next code as previous string + byte, unless the dictionary is full.
    void Define(uint32_t previous, uint8_t byte) {
        if (next_ > kLastCode) return;
        prefix_[next_] = static_cast<uint16_t>(previous);
        last_[next_] = byte;
        first_[next_] = first_[previous];
        length_[next_] = static_cast<uint16_t>(length_[previous] + 1);
        ++next_;
    }

    // Writes the string of a defined code to out[0 .. Length(code)).
    void Write(uint32_t code, uint8_t* out) const {
        for (uint32_t i = length_[code]; i > 0; --i) {
            out[i - 1] = last_[code];
            code = prefix_[code];
        }
    }

private:
    std::array<uint16_t, kLastCode + 1> prefix_;
    std::array<uint8_t, kLastCode + 1> last_;
    std::array<uint8_t, kLastCode + 1> first_;
    std::array<uint16_t, kLastCode + 1> length_;
    uint32_t next_ = kFirstDefined;
};

uint32_t CodeAt(const uint8_t* stream, size_t index) {
    const uint8_t* pair = stream + (index / 2) * 3;
    if (index % 2 == 0) return uint32_t{pair[0]} << 4 | pair[1] >> 4;
    return uint32_t{pair[1] & 0x0Fu} << 8 | pair[2];
}

// Byte offset in the block where code `index` starts.
size_t CodeOffset(size_t index) { return kHeaderBytes + (index / 2) * 3 + index % 2; }

bool DecodeCodes(const uint8_t* stream, size_t streamBytes, size_t planeBytes, uint8_t* out,
                 std::string* error) {
    const size_t codes = streamBytes / 3 * 2;
    if (planeBytes > codes * kLongestString) {
        return DecodeFailure(
            error, kBlock, kHeaderBytes,
            std::to_string(codes) + " codes cannot make a plane of " + std::to_string(planeBytes) + " bytes");
    }
    LzwDictionary dictionary;
    size_t pos = 0;
    bool havePrevious = false;
    uint32_t previous = 0;
    for (size_t i = 0; i < codes; ++i) {
        const uint32_t code = CodeAt(stream, i);
        if (pos == planeBytes) {
            if (i + 1 == codes && code == 0) break;  // the pad of an odd count
            return DecodeFailure(error, kBlock, CodeOffset(i),
                                 "code " + std::to_string(code) + " after the plane is complete");
        }
        // The one code that may be used in the step that defines it: the
        // previous string followed by its own first byte (cScSc).
        const bool definedNow = havePrevious && code == dictionary.next() && code <= kLastCode;
        if (code >= dictionary.next() && !definedNow) {
            return DecodeFailure(error, kBlock, CodeOffset(i),
                                 "code " + std::to_string(code) + " is not defined yet (next is " +
                                     std::to_string(dictionary.next()) + ")");
        }
        if (havePrevious) {
            dictionary.Define(previous, definedNow ? dictionary.First(previous) : dictionary.First(code));
        }
        const uint32_t length = dictionary.Length(code);
        if (length > planeBytes - pos) {
            return DecodeFailure(error, kBlock, CodeOffset(i),
                                 "code " + std::to_string(code) + " of " + std::to_string(length) +
                                     " bytes runs past the plane end at byte " + std::to_string(pos) +
                                     " of " + std::to_string(planeBytes));
        }
        dictionary.Write(code, out + pos);
        pos += length;
        previous = code;
        havePrevious = true;
    }
    if (pos < planeBytes) {
        return DecodeFailure(error, kBlock, kHeaderBytes + streamBytes,
                             "code stream ends after " + std::to_string(pos) + " of " +
                                 std::to_string(planeBytes) + " plane bytes");
    }
    return true;
}

}  // namespace

bool DecodeLzwPlane(const uint8_t* data, size_t size, const PlaneShape& shape, std::vector<uint8_t>* plane,
                    std::string* error) {
    ByteCursor cursor(data, size);
    uint32_t magic = 0, length = 0;
    if (!cursor.ReadLE32(&magic) || !cursor.ReadLE32(&length)) {
        return DecodeFailure(error, kBlock, 0,
                             "block of " + std::to_string(size) + " bytes is shorter than its 8-byte header");
    }
    if (magic != kMagicColumns && magic != kMagicRows) {
        return DecodeFailure(error, kBlock, 0, "bad magic " + Hex32(magic));
    }
    if (length == kRawForm) {
        if (cursor.Remaining() != shape.size) {
            return DecodeFailure(error, kBlock, kHeaderBytes,
                                 "raw form holds " + std::to_string(cursor.Remaining()) +
                                     " bytes for a plane of " + std::to_string(shape.size));
        }
        plane->assign(cursor.Here(), cursor.Here() + shape.size);
        return true;
    }
    if (length != cursor.Remaining()) {
        return DecodeFailure(error, kBlock, 4,
                             "code stream of " + std::to_string(length) + " bytes but " +
                                 std::to_string(cursor.Remaining()) + " follow the header");
    }
    if (length % 3 != 0) {
        return DecodeFailure(
            error, kBlock, 4,
            "code stream of " + std::to_string(length) + " bytes is not a whole number of 3-byte code pairs");
    }

    std::vector<uint8_t> decoded(shape.size);
    if (!DecodeCodes(cursor.Here(), length, shape.size, decoded.data(), error)) return false;
    if (magic == kMagicColumns) {
        UntransposeColumns(decoded, shape, plane);
    } else {
        *plane = std::move(decoded);
    }
    return true;
}
