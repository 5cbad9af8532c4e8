// Helpers of the command-list and job-spool tests: byte strings, files
// written and read whole, and a list's bytes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "pipeline/cmd_list.h"
#include "support/byte_strings.h"
#include "support/file_bytes.h"
#include "support/test_printer.h"
#include "sys/files.h"

namespace cmdlist_test {

using Bytes = std::vector<uint8_t>;

inline Bytes Pattern(size_t size, uint8_t seed) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7 + (i >> 11));
    return bytes;
}

using zebl_test::Join;

// A recorded record: length and tag (little-endian), then the bytes.
inline Bytes Record(const Bytes& data, uint32_t tag) {
    const auto length = static_cast<uint32_t>(data.size());
    Bytes out = {static_cast<uint8_t>(length),       static_cast<uint8_t>(length >> 8),
                 static_cast<uint8_t>(length >> 16), static_cast<uint8_t>(length >> 24),
                 static_cast<uint8_t>(tag),          static_cast<uint8_t>(tag >> 8),
                 static_cast<uint8_t>(tag >> 16),    static_cast<uint8_t>(tag >> 24)};
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

inline bool WriteWholeFile(sys::WStringView path, const Bytes& bytes) {
    return zebl_test::WriteFileBytes(path, bytes.data(), bytes.size());
}

using zebl_test::ReadWholeFile;

inline bool Exists(sys::WStringView path) { return sys::GetFileAttributes(path) != sys::kInvalidAttributes; }

// Every byte the list stores, buffer after buffer.
inline Bytes ListBytes(const FBCmdList& list) {
    Bytes all;
    for (const FBCmdBuffer& buffer : list.buffers) {
        all.insert(all.end(), buffer.data.get(), buffer.data.get() + buffer.used);
    }
    return all;
}

struct Piece {
    Bytes data;
    uint32_t tag;
    bool operator==(const Piece&) const = default;
};

inline std::vector<Piece> Pieces(const FBCmdList& list) {
    std::vector<Piece> out;
    for (const FBCmdPiece& p : FBCmdListPieces(&list)) {
        out.push_back(Piece{Bytes(p.data, p.data + p.length), p.tag});
    }
    return out;
}

}  // namespace cmdlist_test
