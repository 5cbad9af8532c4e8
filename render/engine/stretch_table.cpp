#include "stretch_table.h"

#include <algorithm>
#include <new>

// The products below stay far inside 64 bits: n and i are at most 65536
// (source sizes are 16-bit) and m and d below 2^33.

uint64_t StretchStart(uint32_t n, uint64_t m, uint64_t i) { return i * m / n; }

uint32_t StretchSourceOf(uint32_t n, uint64_t m, uint64_t d) {
    // floor(i*m/n) <= d  <=>  i*m < (d+1)*n  <=>  i < (d+1)*n/m; the largest
    // such i is ceil((d+1)*n/m) - 1.
    return static_cast<uint32_t>(((d + 1) * n + m - 1) / m - 1);
}

bool GetStrchingTbl(uint32_t n, uint64_t m, uint64_t visibleStart, uint64_t visibleEnd,
                    std::vector<uint32_t>& storage, StretchTable* table) {
    if (n == 0 || m == 0 || visibleStart >= visibleEnd || visibleEnd > m) return false;
    table->first = StretchSourceOf(n, m, visibleStart);
    table->last = StretchSourceOf(n, m, visibleEnd - 1);
    table->visibleStart = visibleStart;
    table->visibleEnd = visibleEnd;
    try {
        if (storage.size() < table->Entries()) storage.resize(table->Entries());
    } catch (const std::bad_alloc&) {
        return false;
    }
    uint64_t start = StretchStart(n, m, table->first);
    for (uint32_t k = 0; k < table->Entries(); ++k) {
        const uint64_t end = StretchStart(n, m, uint64_t{table->first} + k + 1);
        const uint64_t from = std::max(start, visibleStart);
        const uint64_t to = std::min(end, visibleEnd);
        storage[k] = to > from ? static_cast<uint32_t>(to - from) : 0;
        start = end;
    }
    table->counts = storage.data();
    return true;
}
