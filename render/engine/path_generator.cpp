// The path generator's vertex buffer and settings. The vertex buffer lives
// from one path record to the next, so one clip path serves any number of
// objects; the scan converter reads it without consuming it.
#include "path_generator.h"

#include <algorithm>
#include <limits>
#include <new>

namespace {

int32_t ToInt32(uint32_t v) {
    return static_cast<int32_t>(std::min<uint32_t>(v, std::numeric_limits<int32_t>::max()));
}

}  // namespace

// ---- Vertex buffer ------------------------------------------------------------------

void PGVertexBuffer::Clear() {
    std::vector<std::unique_ptr<PGVertex[]>>().swap(heapBlocks_);
    count_ = 0;
    state_ = kPGNoSubpath;
    overflowed_ = false;
}

PGVertex* PGVertexBuffer::Append(float x, float y, uint8_t kind) {
    if (overflowed_) return nullptr;
    const uint32_t block = count_ / kPGBlockVertices;
    if (block >= kPGMaxBlocks) {
        overflowed_ = true;
        return nullptr;
    }
    if (block > heapBlocks_.size()) {
        // The previous block is full: take the next one from the heap.
        std::unique_ptr<PGVertex[]> fresh(new (std::nothrow) PGVertex[kPGBlockVertices]);
        if (!fresh) {
            overflowed_ = true;
            return nullptr;
        }
        try {
            heapBlocks_.push_back(std::move(fresh));
        } catch (const std::bad_alloc&) {
            overflowed_ = true;
            return nullptr;
        }
    }
    ++count_;
    PGVertex* v = Current();
    *v = PGVertex{x, y, 1, kind};
    return v;
}

void PGVertexBuffer::StartSubPath(float x, float y) {
    // A start point left alone by a subpath that was never closed goes.
    if (state_ == kPGStartOnly) CloseSubPath(true);
    if (!Append(x, y, kPGVertexStart)) return;
    startX_ = x;
    startY_ = y;
    state_ = kPGStartOnly;
}

void PGVertexBuffer::PutPoint(float x, float y) {
    if (state_ == kPGNoSubpath) {
        StartSubPath(x, y);
        return;
    }
    const PGVertex& last = *Current();
    if (last.x == x && last.y == y) return;  // a repeated point adds nothing
    if (!Append(x, y, kPGVertexPoint)) return;
    state_ = kPGSubpathOpen;
}

void PGVertexBuffer::CloseSubPath(bool penDown) {
    if (state_ == kPGStartOnly) {
        // A lone start point makes no edge: it is taken back.
        --count_;
    } else if (state_ == kPGSubpathOpen) {
        PGVertex* last = Current();
        if (last->x != startX_ || last->y != startY_) {
            if (PGVertex* close = Append(startX_, startY_, kPGVertexClose)) close->pen = penDown ? 1 : 0;
        } else {
            last->kind = kPGVertexClose;
        }
    }
    state_ = kPGNoSubpath;
}

// ---- Generator ------------------------------------------------------------------------

void PGSetClipRect(PathGenerator* pg, uint32_t left, uint32_t right, uint32_t top, uint32_t bottom) {
    pg->clipLeft = ToInt32(left);
    pg->clipRight = ToInt32(right);
    pg->clipTop = ToInt32(top);
    pg->clipBottom = ToInt32(bottom) - 1;
}

void PGSetFillMode(PathGenerator* pg, uint16_t mode) { pg->fillMode = mode; }

uint16_t PGGetFillMode(const PathGenerator* pg) { return pg->fillMode; }

void PGSetCallback(PathGenerator* pg, RDSpanCallback callback, RenderState* user, TRect* request) {
    pg->callback = callback;
    pg->callbackUser = user;
    pg->callbackRequest = request;
}

void gpm_NewPath(PathGenerator* pg) { pg->vertices.Clear(); }

PathGenerator* RDNewPathGenerator() { return new (std::nothrow) PathGenerator; }

void RDFreePathGenerator(PathGenerator* generator) { delete generator; }

void RDResetPath(PathGenerator* generator) {
    if (generator) gpm_NewPath(generator);
}
