#include "plain_coders.h"

#include <algorithm>
#include <cstddef>
#include <unordered_map>

#include "pipeline/lzw_coder.h"

namespace {

void PutLE(Bytes* out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Hit counts at the sampled positions (one per column, at most 1024 spans,
// from byte 2048 on), then the 64 best by repeated selection of a strictly
// higher count, then the copy lengths the parameter grades.
void PlainAnalysis(const Bytes& data, uint32_t count, uint8_t parameter, PlainOffsetTables* tables) {
    const size_t n = data.size();
    std::vector<uint32_t> hits(2049, 0);
    if (n > 2048) {
        const size_t spans = (count < 2 || count - 1 > 1024) ? 1024 : count - 1;
        const size_t step = std::max<size_t>((n - 2048) / spans, 1);
        for (size_t p = 2048; p < n; p += step)
            for (size_t d = 1; d <= 2048; ++d) hits[d] += data[p] == data[p - d];
    }
    std::vector<bool> picked(2049, false);
    for (int slot = 0; slot < 64; ++slot) {
        size_t best = 0;
        int64_t bestHits = -1;
        for (size_t d = 1; d <= 2048; ++d) {
            if (!picked[d] && hits[d] > bestHits) {
                best = d;
                bestHits = hits[d];
            }
        }
        picked[best] = true;
        tables->distances[slot] = static_cast<uint32_t>(best);
    }
    const bool graded = parameter > 0 && parameter < 100;
    const int decrement = graded ? static_cast<uint8_t>(25700 / (parameter * 64)) : 0;
    for (int i = 0; i < 64; ++i)
        tables->maxCounts[i] = static_cast<uint32_t>(std::max(514 - i * decrement, 3));
    tables->built = true;
}

// Tokens after the leading literals; false when the output passes three
// quarters of the input (checked after each literal byte).
bool PlainTokens(const Bytes& data, const PlainOffsetTables& tables, size_t leading, Bytes* out) {
    const size_t limit = 8 + 3 * data.size() / 4;  // the 8-byte header, then 3/4 of the input
    size_t runCount = 0;                           // where the open run's count byte is
    size_t runLength = 0;
    size_t p = leading;
    while (p < data.size()) {
        const size_t remaining = data.size() - p;
        if (remaining >= 3) {
            const size_t most = std::min<size_t>(remaining, 514);
            size_t bestLength = 0, bestIndex = 0;
            for (size_t k = 0; k < 64; ++k) {
                const size_t d = tables.distances[k];
                if (d > p || data[p - d] != data[p]) continue;
                size_t length = 0;
                while (length < most && data[p + length] == data[p - d + length]) ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestIndex = k;
                    if (length >= tables.maxCounts[k]) break;
                }
            }
            if (bestLength >= 3) {
                if (runLength != 0) (*out)[runCount] = static_cast<uint8_t>(runLength - 1);
                runLength = 0;
                const size_t m = bestLength - 3;
                out->push_back(static_cast<uint8_t>((m & 0x7F) | 0x80));
                out->push_back(static_cast<uint8_t>(((m >> 1) & 0xC0) | bestIndex));
                p += bestLength;
                continue;
            }
        }
        if (runLength == 0) {
            runCount = out->size();
            out->push_back(0);
        }
        out->push_back(data[p++]);
        if (++runLength == 128) {
            (*out)[runCount] = 127;
            runLength = 0;
        }
        if (out->size() > limit) return false;
    }
    if (runLength != 0) (*out)[runCount] = static_cast<uint8_t>(runLength - 1);
    return true;
}

}  // namespace

int32_t PlainLzw(const Bytes& in, Bytes* out) {
    out->clear();
    if (in.empty()) return 0;
    const size_t limit = 3 * in.size() / 4;
    std::unordered_map<uint32_t, uint16_t> table;
    table.reserve(4096);
    std::vector<uint16_t> codes;
    uint16_t next = kLzwFirstCode;
    uint16_t prefix = in[0];
    for (size_t i = 1; i < in.size(); ++i) {
        const uint32_t key = uint32_t{prefix} << 8 | in[i];
        if (const auto found = table.find(key); found != table.end()) {
            prefix = found->second;
            continue;
        }
        if (next <= kLzwLastCode) table.emplace(key, next++);
        codes.push_back(prefix);
        if (3 * (codes.size() / 2) > limit) return kCompressGiveUp;
        prefix = in[i];
    }
    codes.push_back(prefix);
    if (codes.size() % 2) codes.push_back(0);
    for (size_t i = 0; i < codes.size(); i += 2) {
        out->push_back(static_cast<uint8_t>(codes[i] >> 4));
        out->push_back(static_cast<uint8_t>((codes[i] & 0x0F) << 4 | codes[i + 1] >> 8));
        out->push_back(static_cast<uint8_t>(codes[i + 1]));
    }
    return static_cast<int32_t>(out->size());
}

Bytes PlainTransposed(const Bytes& plane, uint32_t width, uint32_t lines) {
    Bytes columns(plane.size());
    for (size_t i = 0; i < width; ++i)
        for (size_t j = 0; j < lines; ++j) columns[i * lines + j] = plane[j * width + i];
    return columns;
}

Bytes PlainLzwBlock(const Bytes& plane, uint32_t width, uint32_t lines) {
    const bool transposed = width > 1 && lines > 1;
    Bytes codes;
    const int32_t length = PlainLzw(transposed ? PlainTransposed(plane, width, lines) : plane, &codes);
    Bytes block;
    PutLE(&block, transposed ? 0x29ABCDEF : 0x19ABCDEF, 4);
    if (length == kCompressGiveUp) {
        PutLE(&block, 0xFFFFFFFF, 4);
        block.insert(block.end(), plane.begin(), plane.end());
    } else {
        PutLE(&block, static_cast<uint32_t>(length), 4);
        block.insert(block.end(), codes.begin(), codes.end());
    }
    return block;
}

Bytes PlainOffsetTableBlock(const Bytes& plane, uint32_t width, uint32_t lines, uint8_t parameter,
                            PlainOffsetTables* tables) {
    const bool transposed = width != 1 && lines != 1;
    const Bytes data = transposed ? PlainTransposed(plane, width, lines) : plane;
    if (parameter != 0 || !tables->built) PlainAnalysis(data, transposed ? width : lines, parameter, tables);

    Bytes block;
    PutLE(&block, 0x09ABCDEF, 4);
    const uint32_t farthest = *std::max_element(tables->distances.begin(), tables->distances.end());
    const size_t leading = std::min<size_t>({farthest, 128, data.size()});
    PutLE(&block, static_cast<uint32_t>(leading), 4);
    for (const uint32_t d : tables->distances) PutLE(&block, d, 2);
    block.insert(block.end(), data.begin(), data.begin() + static_cast<ptrdiff_t>(leading));
    if (PlainTokens(data, *tables, leading, &block)) return block;

    Bytes raw;
    PutLE(&raw, 0x09ABCDEF, 4);
    PutLE(&raw, 0xFFFFFFFF, 4);
    raw.insert(raw.end(), plane.begin(), plane.end());
    return raw;
}
