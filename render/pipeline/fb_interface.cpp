#include "pipeline/fb_interface.h"

#include <cstring>

namespace {

// Whether `length` bytes starting at `offset` lie inside the record; written
// so that no sum can wrap.
bool Inside(uint32_t offset, uint32_t length) {
    return offset <= kFBInterfaceSize && length <= kFBInterfaceSize - offset;
}

}  // namespace

uint32_t FBInterface::UInt(uint32_t offset) const {
    if (!Inside(offset, 4)) return 0;
    const uint8_t* p = bytes.data() + offset;
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

int32_t FBInterface::Int(uint32_t offset) const { return static_cast<int32_t>(UInt(offset)); }

void FBInterface::SetUInt(uint32_t offset, uint32_t value) {
    if (!Inside(offset, 4)) return;
    uint8_t* p = bytes.data() + offset;
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

void FBInterface::SetInt(uint32_t offset, int32_t value) { SetUInt(offset, static_cast<uint32_t>(value)); }

sys::WString FBInterface::String(FBIStringField field) const {
    sys::WString text;
    if (!Inside(field.offset, field.units * 2)) return text;
    const uint8_t* p = bytes.data() + field.offset;
    for (uint32_t i = 0; i < field.units; ++i, p += 2) {
        const char16_t unit = static_cast<char16_t>(p[0] | p[1] << 8);
        if (unit == 0) break;
        text.push_back(unit);
    }
    return text;
}

void FBInterface::SetString(FBIStringField field, sys::WStringView text) {
    if (field.units == 0 || !Inside(field.offset, field.units * 2)) return;
    uint8_t* p = bytes.data() + field.offset;
    std::memset(p, 0, field.units * 2);
    const size_t kept = text.size() < field.units ? text.size() : field.units - 1;
    for (size_t i = 0; i < kept; ++i, p += 2) {
        p[0] = static_cast<uint8_t>(text[i]);
        p[1] = static_cast<uint8_t>(text[i] >> 8);
    }
}

int FBInterfaceFromBytes(FBInterface* record, const void* data, uint32_t length) {
    if (!record || !data || length != kFBInterfaceSize) return 0;
    std::memcpy(record->bytes.data(), data, kFBInterfaceSize);
    return 1;
}
