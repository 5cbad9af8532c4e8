// The settings record that the driver's drawing side spools (its layout:
// formats/settings_record.h). It arrives from the spool file, so it is kept as
// plain bytes and every field is read through a bounds-checked,
// alignment-free accessor; nothing trusts its values.
#pragma once

#include <array>
#include <cstdint>

#include "formats/settings_record.h"
#include "sys/text.h"

struct FBInterface {
    std::array<uint8_t, kFBInterfaceSize> bytes{};

    // A 32-bit little-endian field; 0 for an offset whose four bytes do not
    // lie inside the record.
    int32_t Int(uint32_t offset) const;
    uint32_t UInt(uint32_t offset) const;
    // Does nothing for an offset outside the record.
    void SetInt(uint32_t offset, int32_t value);
    void SetUInt(uint32_t offset, uint32_t value);

    // The text up to its first NUL or the end of the field.
    sys::WString String(FBIStringField field) const;
    // Stores the text NUL-terminated and NUL-padded; a text that does not
    // fit with its NUL is cut to units - 1 characters.
    void SetString(FBIStringField field, sys::WStringView text);
};

// A record from a spooled buffer: 1 and the copy when the buffer is exactly
// one record long, else 0 and the record untouched.
int FBInterfaceFromBytes(FBInterface* record, const void* data, uint32_t length);
