#include "pipeline/offset_table_coder_search.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "pipeline/offset_table_coder_words.h"

namespace {

// Length of the repetition of `at` from `from` (earlier in the same data; the
// two may overlap), compared eight bytes at a time, at most maxLength.
uint32_t MatchLength(const uint8_t* at, const uint8_t* from, uint32_t maxLength) {
    uint32_t n = 0;
    while (n + 8 <= maxLength) {
        const uint64_t a = fbb_words::Load(at + n), b = fbb_words::Load(from + n);
        if (a != b) return n + static_cast<uint32_t>(std::countr_zero(a ^ b) / 8);
        n += 8;
    }
    while (n < maxLength && at[n] == from[n]) ++n;
    return n;
}

// Length of the repetition from `from` if it is longer than `shorter`, else
// at most shorter: a longer one repeats the byte where the shorter stopped.
uint32_t LengthIfLonger(const uint8_t* at, const uint8_t* from, uint32_t shorter, uint32_t maxLength) {
    if (from[shorter] != at[shorter]) return 0;
    return MatchLength(at, from, maxLength);
}

}  // namespace

FBCopyChoice FBFindCopyInOrder(const uint8_t* data, size_t pos, uint32_t maxLength, const uint32_t* distances,
                               const uint16_t* maxCounts) {
    FBCopyChoice best;
    const uint8_t* at = data + pos;
    for (uint32_t k = 0; k < kFBBDistanceCount; ++k) {
        const uint32_t d = distances[k];
        if (d == 0 || d > pos || at[-static_cast<ptrdiff_t>(d)] != *at) continue;
        // best.length < maxLength until the search ends, so that byte exists.
        const uint32_t length = LengthIfLonger(at, at - d, best.length, maxLength);
        if (length > best.length) {
            best = {length, k};
            // No later distance can be longer than the bytes left.
            if (length >= maxCounts[k] || length == maxLength) break;
        }
    }
    return best;
}

FBCopySearch::FBCopySearch(const uint8_t* data, size_t size, const uint32_t* distances,
                           const uint16_t* maxCounts, FBBlockTest blockTest)
    : data_(data),
      size_(size),
      distances_(distances),
      maxCounts_(maxCounts),
      blockTest_(blockTest ? blockTest : FBChosenBlockTest()) {
    uint32_t used = 0;
    for (uint32_t k = 0; k < kFBBDistanceCount; ++k) {
        if (distances[k] == 0) continue;
        if (maxCounts[k] < kFBBMinCopy) candidatesDecide_ = false;
        ascending_[used++] = distances[k];
    }
    allUsed_ = used == kFBBDistanceCount;
    std::sort(ascending_, ascending_ + used);
    distinct_ = static_cast<uint32_t>(std::unique(ascending_, ascending_ + used) - ascending_);
}

FBCopyChoice FBCopySearch::Find(size_t pos, uint32_t maxLength, bool afterLiteral) {
    FBCopyChoice best;
    const uint32_t first = distances_[0];
    if (!afterLiteral && first != 0 && first <= pos) {
        // After a copy the most frequent distance often runs for a whole
        // copy: then it is the first to end the search in table order.
        const uint8_t* at = data_ + pos;
        const uint32_t length = LengthIfLonger(at, at - first, 0, maxLength);
        if (length != 0 && (length >= maxCounts_[0] || length == maxLength)) return {length, 0};
        if (length >= kFBBMinCopy) best = {length, 0};
    }
    if (!candidatesDecide_ || ((pos < blockStart_ || pos >= blockEnd_) && !TestBlock(pos)))
        return FBFindCopyInOrder(data_, pos, maxLength, distances_, maxCounts_);
    uint64_t candidates = candidates_[pos - blockStart_];
    if (best.length != 0) candidates &= ~uint64_t{1};  // distance 0 measured already
    return FromCandidates(pos, maxLength, candidates, best);
}

// The search in table order over the distances that repeat three bytes or
// more, from the best found so far; the others could neither win nor end it.
//
// A distance that repeats n bytes from pos repeats three bytes at each of
// pos .. pos + n - 3, so only the distances the block test found at all of
// pos .. pos + best.length - 2 can beat the best: each time the best grows
// the candidates are cut to those, as far as the block reaches. In
// halftoned photographs most copies are short and the cut leaves few.
FBCopyChoice FBCopySearch::FromCandidates(size_t pos, uint32_t maxLength, uint64_t candidates,
                                          FBCopyChoice best) const {
    const uint8_t* at = data_ + pos;
    const uint64_t* repeatsFrom = candidates_ + (pos - blockStart_);
    const size_t tested = blockEnd_ - pos;
    uint64_t everywhere = ~uint64_t{0};  // the distances repeating at every position anded so far
    size_t anded = 0;
    auto keepThoseThatCanBeLonger = [&] {
        const size_t positions = std::min<size_t>(best.length - 1, tested);
        for (; anded < positions; ++anded) everywhere &= repeatsFrom[anded];
        candidates &= everywhere;
    };
    if (best.length != 0) keepThoseThatCanBeLonger();
    while (candidates != 0) {
        const uint32_t k = static_cast<uint32_t>(std::countr_zero(candidates));
        candidates &= candidates - 1;
        const uint32_t length = LengthIfLonger(at, at - distances_[k], best.length, maxLength);
        if (length > best.length) {
            best = {length, k};
            if (length >= maxCounts_[k] || length == maxLength) break;
            keepThoseThatCanBeLonger();
        }
    }
    return best;
}

// Tests the block from pos on against the distances that reach back from
// pos. It ends where a longer distance starts to reach back, and it needs
// room for its reads before the end of the data.
bool FBCopySearch::TestBlock(size_t pos) {
    if (pos + kBlockPositions + 2 > size_) return false;
    while (reachable_ < distinct_ && ascending_[reachable_] <= pos) ++reachable_;
    size_t end = pos + kBlockPositions;
    if (reachable_ < distinct_) end = std::min<size_t>(end, ascending_[reachable_]);
    blockTest_(data_ + pos, distances_, pos, allUsed_ && reachable_ == distinct_, candidates_);
    blockStart_ = pos;
    blockEnd_ = end;
    return true;
}
