#include "pipeline/cmd_list.h"

#include <cstring>
#include <new>

namespace {

void PutLE32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

uint32_t GetLE32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// Appends a buffer of `capacity` bytes. Nothing reads past a buffer's used
// bytes, so it is not filled: filling 4 MiB per page would cost as much as
// copying the page's records into it. An empty last buffer is
// replaced rather than left behind, so that a big piece following an
// explicit FBCmdBufferAdd does not leave 4 MiB unused.
bool AppendBuffer(FBCmdList* list, uint32_t capacity) {
    FBCmdBuffer buffer;
    buffer.data.reset(new (std::nothrow) uint8_t[capacity]);
    if (!buffer.data) return false;
    buffer.capacity = capacity;
    if (!list->buffers.empty() && list->buffers.back().used == 0) list->buffers.pop_back();
    list->buffers.push_back(std::move(buffer));
    return true;
}

// The buffer a piece of `pieceBytes` (header included) goes into.
FBCmdBuffer* BufferForPiece(FBCmdList* list, uint64_t pieceBytes) {
    if (!list->buffers.empty()) {
        FBCmdBuffer& last = list->buffers.back();
        const uint64_t needed = uint64_t{last.used} + pieceBytes;
        // A filled-up buffer is never topped up to its last byte: reaching the
        // ordinary size starts the next buffer, as for a used-up big buffer.
        const bool reachesEnd = needed >= kFBCmdBufferSize && last.used > 0;
        if (!reachesEnd && needed <= last.capacity) return &last;
    }
    // A piece larger than an ordinary buffer gets a buffer exactly its size.
    const uint64_t capacity = pieceBytes > kFBCmdBufferSize ? pieceBytes : kFBCmdBufferSize;
    if (!AppendBuffer(list, static_cast<uint32_t>(capacity))) return nullptr;
    return &list->buffers.back();
}

}  // namespace

int FBCmdListInit(FBCmdList* list, uint32_t format) {
    if (list == nullptr) return 0;
    list->buffers.clear();
    const bool known = format == kCmdPlain || format == kCmdWithHeaders;
    list->format = known ? format : kCmdPlain;
    return known ? 1 : 0;
}

int FBCmdListDelete(FBCmdList* list) {
    if (list == nullptr) return 0;
    list->buffers.clear();
    return 1;
}

int FBCmdBufferAdd(FBCmdList* list) {
    if (list == nullptr) return 0;
    FBCmdBuffer buffer;
    buffer.data.reset(new (std::nothrow) uint8_t[kFBCmdBufferSize]);
    if (!buffer.data) return 0;
    buffer.capacity = kFBCmdBufferSize;
    list->buffers.push_back(std::move(buffer));
    return 1;
}

int FBCmdListAddData(FBCmdList* list, const void* data, uint32_t length, uint32_t tag) {
    if (list == nullptr || (data == nullptr && length != 0)) return 0;
    const uint32_t header = list->format == kCmdWithHeaders ? kFBCmdHeaderSize : 0;
    const uint64_t pieceBytes = uint64_t{length} + header;
    if (pieceBytes > UINT32_MAX) return 0;
    FBCmdBuffer* buffer = BufferForPiece(list, pieceBytes);
    if (buffer == nullptr) return 0;
    uint8_t* out = buffer->data.get() + buffer->used;
    if (header != 0) {
        PutLE32(out, length);
        PutLE32(out + 4, tag);
    }
    if (length != 0) std::memcpy(out + header, data, length);
    buffer->used += static_cast<uint32_t>(pieceBytes);
    return 1;
}

int FBCmdListCopy(FBCmdList* target, const FBCmdList* source) {
    if (target == nullptr || source == nullptr) return 0;
    if (source->format != kCmdWithHeaders || target->format != kCmdPlain) return 0;
    for (const FBCmdPiece& piece : FBCmdListPieces(source)) {
        if (!FBCmdListAddData(target, piece.data, piece.length, piece.tag)) return 0;
    }
    return 1;
}

int FBCmdBufferMerge(FBCmdList* target, FBCmdList* source) {
    if (target == nullptr || source == nullptr) return 0;
    if (target->format != kCmdPlain || source->format != kCmdPlain) return 0;
    if (target == source) return 1;
    target->buffers.splice(target->buffers.begin(), source->buffers);
    return 1;
}

uint64_t FBCmdListByteCount(const FBCmdList* list) {
    if (list == nullptr) return 0;
    uint64_t total = 0;
    for (const FBCmdBuffer& buffer : list->buffers) total += buffer.used;
    return total;
}

std::vector<FBCmdPiece> FBCmdListPieces(const FBCmdList* list) {
    std::vector<FBCmdPiece> pieces;
    if (list == nullptr) return pieces;
    for (const FBCmdBuffer& buffer : list->buffers) {
        const uint8_t* data = buffer.data.get();
        if (list->format != kCmdWithHeaders) {
            pieces.push_back(FBCmdPiece{data, buffer.used, 0});
            continue;
        }
        // Records were written whole by FBCmdListAddData; the bounds checks
        // only guard against a list changed behind its back.
        uint32_t at = 0;
        while (buffer.used - at >= kFBCmdHeaderSize) {
            const uint32_t length = GetLE32(data + at);
            const uint32_t tag = GetLE32(data + at + 4);
            if (length > buffer.used - at - kFBCmdHeaderSize) break;
            pieces.push_back(FBCmdPiece{data + at + kFBCmdHeaderSize, length, tag});
            at += kFBCmdHeaderSize + length;
        }
    }
    return pieces;
}

std::vector<DLChunk> FBCmdListChunks(const FBCmdList* list) {
    std::vector<DLChunk> chunks;
    for (const FBCmdPiece& piece : FBCmdListPieces(list)) {
        if (piece.length != 0) chunks.push_back(DLChunk{piece.data, piece.length});
    }
    return chunks;
}
