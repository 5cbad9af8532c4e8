// The path generator: the vertex buffer that the subpaths of a path record
// are collected into, the clip rectangle and fill mode they are filled
// with, and the span consumer the scan converter (path_scan.cpp) feeds.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "drawing_seams.h"

// Fill modes of the display list.
constexpr uint16_t kPGFillWinding = 20;    // non-zero winding
constexpr uint16_t kPGFillAlternate = 22;  // even-odd

// What a vertex is to its subpath.
constexpr uint8_t kPGVertexStart = 'I';  // starts a subpath
constexpr uint8_t kPGVertexPoint = 'M';  // a further point
constexpr uint8_t kPGVertexClose = 'C';  // the closing point

// Where the open subpath stands.
constexpr char kPGNoSubpath = 'S';    // nothing open
constexpr char kPGStartOnly = 'I';    // one start point
constexpr char kPGSubpathOpen = 'M';  // a start point and further points

// The vertex buffer grows in blocks, so that growing never copies points;
// 2000 blocks of 512 (1,024,000 points) is as much as a path may have.
constexpr uint32_t kPGBlockVertices = 512;
constexpr uint32_t kPGMaxBlocks = 2000;
constexpr uint32_t kPGMaxVertices = kPGBlockVertices * kPGMaxBlocks;

// Edges of one paint are counted in 16 bits; a path with more edges inside
// the clip rows is not filled.
constexpr uint32_t kPGMaxEdges = 65535;

// Spans wait in a buffer of this many runs before they go to the consumer.
constexpr uint32_t kPGRunBuffer = 500;

// Rounded coordinates are held to +-2^28, so that edge deltas, their sum
// with a remainder and the products of the edge sort fit their integers.
// Nothing that far out can reach a band; an edge that runs there keeps its
// direction but not its exact slope.
constexpr int32_t kPGCoordinateLimit = 1 << 28;

struct PGVertex {
    float x = 0, y = 0;
    uint8_t pen = 1;  // 1 down, 0 up
    uint8_t kind = kPGVertexStart;
};

// The points of the current path, subpath after subpath. A start point
// alone does not make a subpath (closing removes it), and a point equal to
// the one before it is dropped, so every closed subpath has two distinct
// points or more.
class PGVertexBuffer {
public:
    // Frees the blocks taken from the heap and forgets every point.
    void Clear();

    void StartSubPath(float x, float y);
    void PutPoint(float x, float y);
    void CloseSubPath(bool penDown);

    uint32_t Count() const { return count_; }
    const PGVertex& At(uint32_t i) const { return Block(i / kPGBlockVertices)[i % kPGBlockVertices]; }
    // A point did not fit (the vertex limit, or no memory for a block): the
    // path is incomplete and must not be filled.
    bool Overflowed() const { return overflowed_; }
    uint32_t Blocks() const { return 1 + static_cast<uint32_t>(heapBlocks_.size()); }

private:
    PGVertex* Block(uint32_t block) { return block == 0 ? firstBlock_.data() : heapBlocks_[block - 1].get(); }
    const PGVertex* Block(uint32_t block) const {
        return block == 0 ? firstBlock_.data() : heapBlocks_[block - 1].get();
    }
    PGVertex* Current() { return &Block((count_ - 1) / kPGBlockVertices)[(count_ - 1) % kPGBlockVertices]; }
    // The next free slot (count_ grows by one), or null on overflow.
    PGVertex* Append(float x, float y, uint8_t kind);

    std::array<PGVertex, kPGBlockVertices> firstBlock_{};
    std::vector<std::unique_ptr<PGVertex[]>> heapBlocks_;  // blocks 1, 2, ...
    uint32_t count_ = 0;
    char state_ = kPGNoSubpath;
    float startX_ = 0, startY_ = 0;
    bool overflowed_ = false;
};

struct PathGenerator {
    PGVertexBuffer vertices;
    // Rows clipTop .. clipBottom (inclusive) and columns clipLeft ..
    // clipRight-1 are filled.
    int32_t clipTop = 0, clipLeft = 0, clipBottom = -1, clipRight = 0;
    uint16_t fillMode = 0;
    RDSpanCallback callback = nullptr;
    RenderState* callbackUser = nullptr;
    TRect* callbackRequest = nullptr;
};

// Right and bottom are exclusive, as in a request.
void PGSetClipRect(PathGenerator* pg, uint32_t left, uint32_t right, uint32_t top, uint32_t bottom);
void PGSetFillMode(PathGenerator* pg, uint16_t mode);
uint16_t PGGetFillMode(const PathGenerator* pg);
void PGSetCallback(PathGenerator* pg, RDSpanCallback callback, RenderState* user, TRect* request);

// Empties the vertex buffer for a new path.
void gpm_NewPath(PathGenerator* pg);

// Scan-converts every closed subpath under the even-odd rule (evenOdd 1) or
// the non-zero winding rule (0) inside the clip rectangle and hands the
// spans to the callback. Returns 0 when the path was refused (too many
// points or edges, no memory), else 1.
int GpmPaintPath(PathGenerator* pg, int evenOdd);
