// A bounds-checked read cursor over untrusted bytes. Every read reports
// whether the bytes were there; nothing reads past the end.
#pragma once

#include <cstddef>
#include <cstdint>

class ByteCursor {
public:
    ByteCursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Offset() const { return pos_; }
    size_t Remaining() const { return size_ - pos_; }
    bool AtEnd() const { return pos_ == size_; }
    const uint8_t* Here() const { return data_ + pos_; }

    bool Skip(size_t n);
    bool ReadU8(uint8_t* v);
    bool ReadBE16(uint16_t* v);
    bool ReadBE32(uint32_t* v);
    bool ReadLE16(uint16_t* v);
    bool ReadLE32(uint32_t* v);
    // Points *bytes at the next n bytes and moves past them.
    bool Take(size_t n, const uint8_t** bytes);

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};
