// The copy search of the offset-table coder. At a token start the distances
// are tried in table order: the first longest repetition wins, and one that
// reaches its distance's maximum copy length ends the search at once.
//
// Inside a run of literals most positions have no distance at which even
// three bytes repeat, and trying all 64 distances one by one there is where
// the coder spent its time. So after a literal the search first tests a
// block of the following positions against every distance at once, three
// bytes each, and settles every position without such a repetition as a
// literal straight away. Where some distance repeats three bytes the search
// in table order decides, so the copy chosen is always the one the search in
// table order would choose.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pipeline/offset_table_coder.h"

struct FBCopyChoice {
    uint32_t length = 0;  // below kFBBMinCopy: no copy, the byte is a literal
    uint32_t index = 0;   // distance index in the table
};

// The search in table order at pos (distances[k] == 0 or above pos: never
// used), for a copy of at most maxLength bytes.
FBCopyChoice FBFindCopyInOrder(const uint8_t* data, size_t pos, uint32_t maxLength, const uint32_t* distances,
                               const uint16_t* maxCounts);

// The search over one coding pass of size bytes. Positions asked for must
// not decrease; every one must have at least kFBBMinCopy bytes left.
class FBCopySearch {
public:
    // distances: kFBBDistanceCount entries, 0 for one never used, else
    // 1 .. kFBBMaxDistance; maxCounts likewise. Both must outlive the search.
    FBCopySearch(const uint8_t* data, size_t size, const uint32_t* distances, const uint16_t* maxCounts);

    // The copy at pos, at most maxLength bytes. afterLiteral: the byte before
    // pos went out as a literal, so more literals are likely to follow.
    FBCopyChoice Find(size_t pos, uint32_t maxLength, bool afterLiteral);

    // Positions a block test covers at most.
    static constexpr uint32_t kBlockPositions = 16;

private:
    bool MayRepeat(size_t pos);
    bool TestBlock(size_t pos);

    const uint8_t* data_;
    size_t size_;
    const uint32_t* distances_;
    const uint16_t* maxCounts_;
    // The different distances in use, shortest first; the first reachable_
    // of them reach back from the position asked for last.
    uint32_t ascending_[kFBBDistanceCount];
    uint32_t distinct_ = 0;
    uint32_t reachable_ = 0;
    // The last block tested: bit i of repeats_ set when some distance
    // repeats three bytes at blockStart_ + i, for positions below blockEnd_.
    size_t blockStart_ = 0;
    size_t blockEnd_ = 0;
    uint32_t repeats_ = 0;
};
