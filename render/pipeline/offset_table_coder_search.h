// The copy search of the offset-table coder. At a token start the distances
// are tried in table order: the first longest repetition wins, and one that
// reaches its distance's maximum copy length ends the search at once.
//
// Trying all 64 distances one by one at every byte was where the coder spent
// its time. The search here tests a block of 16 positions against every
// distance at once, three bytes each, and keeps for each position the set of
// distances that repeat at least three bytes there: a copy can only come
// from those (every maximum copy length is at least three), and a position
// where the set is empty is a literal. The first distance, the one that
// repeats most often, is tried on its own after a copy, where it usually
// goes on for a full copy and one test decides. The copy chosen is always
// the one the search in table order chooses.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pipeline/offset_table_coder.h"
#include "pipeline/offset_table_coder_blocks.h"

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
    // blockTest: null for the fastest this process runs (FBChosenBlockTest).
    FBCopySearch(const uint8_t* data, size_t size, const uint32_t* distances, const uint16_t* maxCounts,
                 FBBlockTest blockTest = nullptr);

    // The copy at pos, at most maxLength bytes. afterLiteral: the byte before
    // pos went out as a literal.
    FBCopyChoice Find(size_t pos, uint32_t maxLength, bool afterLiteral);

    // Positions one block test covers.
    static constexpr uint32_t kBlockPositions = kFBBlockPositions;

private:
    bool TestBlock(size_t pos);
    FBCopyChoice FromCandidates(size_t pos, uint32_t maxLength, uint64_t candidates, FBCopyChoice best) const;

    const uint8_t* data_;
    size_t size_;
    const uint32_t* distances_;
    const uint16_t* maxCounts_;
    FBBlockTest blockTest_;
    // Every maximum copy length is at least three bytes, so repetitions
    // shorter than that never end the search (else only the search in table
    // order is exact).
    bool candidatesDecide_ = true;
    // The different distances in use, shortest first; those before
    // reachable_ reach back from the last block's start.
    uint32_t ascending_[kFBBDistanceCount] = {};
    uint32_t distinct_ = 0;
    uint32_t reachable_ = 0;
    bool allUsed_ = false;  // no table entry is 0
    // The last block tested: bit k of candidates_[i] set when distance k
    // repeats at least three bytes at blockStart_ + i, for positions below
    // blockEnd_ (where a distance not yet reaching back starts to).
    size_t blockStart_ = 0;
    size_t blockEnd_ = 0;
    uint64_t candidates_[kBlockPositions] = {};
};
