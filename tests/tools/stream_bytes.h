// Assembles printer-stream bytes in tests, field by field, so that each test
// spells out the layout it expects.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace zebl_test {

class StreamBytes {
public:
    StreamBytes& Text(std::string_view text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    StreamBytes& Bytes(std::initializer_list<uint8_t> list) {
        bytes.insert(bytes.end(), list.begin(), list.end());
        return *this;
    }
    StreamBytes& Bytes(const std::vector<uint8_t>& list) {
        bytes.insert(bytes.end(), list.begin(), list.end());
        return *this;
    }
    StreamBytes& U8(uint32_t v) {
        bytes.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    StreamBytes& BE16(uint32_t v) { return U8(v >> 8).U8(v); }
    StreamBytes& BE32(uint32_t v) { return U8(v >> 24).U8(v >> 16).U8(v >> 8).U8(v); }
    StreamBytes& Exit() { return Text(std::string_view("\x1B%-12345X", 9)); }

    // Plane data followed by its byte-sum checksum.
    StreamBytes& Data(const std::vector<uint8_t>& data) {
        uint32_t sum = 0;
        for (uint8_t b : data) sum += b;
        return Bytes(data).BE32(sum);
    }
    // A band header whose first plane is `data`.
    StreamBytes& Band(uint32_t number, uint32_t width, uint32_t lines, uint32_t plane, uint32_t code,
                      const std::vector<uint8_t>& data) {
        U8(0x0C).U8(number).BE16(width).BE16(lines).U8(plane).U8(code);
        return BE32(static_cast<uint32_t>(data.size()) + 4).Data(data);
    }
    StreamBytes& Plane(uint32_t plane, uint32_t code, const std::vector<uint8_t>& data) {
        U8(plane).U8(code).BE32(static_cast<uint32_t>(data.size()) + 4);
        return Data(data);
    }
    // A page header with the fixed bytes in place.
    StreamBytes& Page(uint32_t resolution, uint32_t copies, uint32_t paper, uint32_t width, uint32_t height,
                      uint32_t source = 1, uint32_t longEdge = 0, uint32_t odd = 0) {
        U8(0x00).U8(resolution).BE16(copies).U8(paper).BE16(width).BE16(height).U8(source);
        return U8(0).U8(longEdge).U8(odd).Bytes({0, 1, 0, 0});
    }

    std::vector<uint8_t> bytes;
};

}  // namespace zebl_test
