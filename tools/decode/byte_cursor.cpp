#include "decode/byte_cursor.h"

bool ByteCursor::Skip(size_t n) {
    if (n > Remaining()) return false;
    pos_ += n;
    return true;
}

bool ByteCursor::Take(size_t n, const uint8_t** bytes) {
    if (n > Remaining()) return false;
    *bytes = data_ + pos_;
    pos_ += n;
    return true;
}

bool ByteCursor::ReadU8(uint8_t* v) {
    if (Remaining() < 1) return false;
    *v = data_[pos_++];
    return true;
}

bool ByteCursor::ReadBE16(uint16_t* v) {
    const uint8_t* p;
    if (!Take(2, &p)) return false;
    *v = static_cast<uint16_t>(p[0] << 8 | p[1]);
    return true;
}

bool ByteCursor::ReadBE32(uint32_t* v) {
    const uint8_t* p;
    if (!Take(4, &p)) return false;
    *v = uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
    return true;
}

bool ByteCursor::ReadLE16(uint16_t* v) {
    const uint8_t* p;
    if (!Take(2, &p)) return false;
    *v = static_cast<uint16_t>(p[1] << 8 | p[0]);
    return true;
}

bool ByteCursor::ReadLE32(uint32_t* v) {
    const uint8_t* p;
    if (!Take(4, &p)) return false;
    *v = uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
    return true;
}
