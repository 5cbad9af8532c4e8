// Command lists: a page's display list in memory, as a chain of large
// buffers into which the spooled display-list pieces are appended as they
// arrive.
//
// A list has one of two formats:
//   plain (0)         the buffers hold the display-list bytes back to back;
//                     this is what the rendering engine plays.
//   with headers (1)  every piece is kept as a record
//                        +0 length (LE32) | +4 tag (LE32) | +8 length bytes
//                     so that it can be written to a recorded data file and
//                     read back piece by piece.
//
// A piece is never split between two buffers, so the display-list records
// inside a piece never straddle a buffer boundary and each buffer can be
// played as one chunk.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "engine/render_state.h"      // DLChunk
#include "formats/spooled_buffers.h"  // kFBCmdHeaderSize
#include "sys/text.h"

// The size of an ordinary buffer: a page of up to 4 MiB of display list needs
// a single allocation.
constexpr uint32_t kFBCmdBufferSize = 4194304;

enum FBCmdFormat : uint32_t {
    kCmdPlain = 0,
    kCmdWithHeaders = 1,
};

struct FBCmdBuffer {
    std::unique_ptr<uint8_t[]> data;  // zero-filled when made
    uint32_t capacity = 0;            // kFBCmdBufferSize, or more for one big piece
    uint32_t used = 0;
};

struct FBCmdList {
    uint32_t format = kCmdPlain;
    std::list<FBCmdBuffer> buffers;
};

// One piece of a list. In a plain list the pieces are no longer told apart:
// each buffer is one piece with tag 0.
struct FBCmdPiece {
    const uint8_t* data = nullptr;
    uint32_t length = 0;
    uint32_t tag = 0;
};

// An empty list of the given format; 0 (and an empty plain list) for a
// format other than kCmdPlain or kCmdWithHeaders.
int FBCmdListInit(FBCmdList* list, uint32_t format);

// Frees all buffers; the list keeps its format and stays usable.
int FBCmdListDelete(FBCmdList* list);

// Appends a new empty buffer of kFBCmdBufferSize bytes; 0 when the memory
// cannot be had.
int FBCmdBufferAdd(FBCmdList* list);

// Appends one piece (with its length and tag in a list with headers). A
// piece goes whole into one buffer: when the last buffer's used bytes plus
// the piece (plus its header) would reach kFBCmdBufferSize, a new buffer is
// started. A piece that does not fit an ordinary buffer at all gets a buffer
// of its own, sized for it. 0 when memory cannot be had or the piece is
// longer than a buffer can hold; the list is then unchanged.
int FBCmdListAddData(FBCmdList* list, const void* data, uint32_t length, uint32_t tag);

// When the source has headers and the target is plain: appends every piece of
// the source to the target. 0 when the formats are otherwise (nothing is
// copied) or memory runs out.
int FBCmdListCopy(FBCmdList* target, const FBCmdList* source);

// For two plain lists: moves all buffers of the source in front of the
// target's buffers (the source's bytes then play first) and leaves the source
// empty. 0, and both lists untouched, when either list has headers.
int FBCmdBufferMerge(FBCmdList* target, FBCmdList* source);

// Bytes stored in the list (with headers in a list with headers).
uint64_t FBCmdListByteCount(const FBCmdList* list);

// The pieces of the list in order (see FBCmdPiece).
std::vector<FBCmdPiece> FBCmdListPieces(const FBCmdList* list);

// The list as the chunks the rendering engine plays: one chunk per non-empty
// buffer of a plain list, one per non-empty piece of a list with headers.
// The chunks point into the list and stay valid until it changes.
std::vector<DLChunk> FBCmdListChunks(const FBCmdList* list);
