#include "pipeline/offset_table_coder.h"

#include <algorithm>
#include <cstring>

#include "pipeline/lzw_coder.h"
#include "pipeline/offset_table_coder_search.h"
#include "pipeline/transpose.h"

namespace {

// ---- Coding --------------------------------------------------------------

// Copy token, two bytes; m = length - 3 (9 bits), k = distance index (6 bits):
//   byte 1   1  m6 m5 m4 m3 m2 m1 m0
//   byte 2   m8 m7 k5 k4 k3 k2 k1 k0
uint8_t* PutCopy(uint8_t* pos, const FBCopyChoice& copy) {
    const uint32_t m = copy.length - kFBBMinCopy;
    pos[0] = static_cast<uint8_t>((m & 0x7F) | 0x80);
    pos[1] = static_cast<uint8_t>(((m >> 1) & 0xC0) | copy.index);
    return pos + 2;
}

// Literal run: count byte 0nnnnnnn (run length - 1), then the bytes. The count
// byte is reserved when the run opens and filled in when it closes.
struct LiteralRun {
    uint8_t* countByte = nullptr;
    uint32_t length = 0;

    uint8_t* Add(uint8_t* pos, uint8_t byte) {
        if (countByte == nullptr) {
            countByte = pos++;
            length = 0;
        }
        *pos++ = byte;
        if (++length == kFBBMaxLiteralRun) Close();
        return pos;
    }

    void Close() {
        if (countByte == nullptr) return;
        *countByte = static_cast<uint8_t>(length - 1);
        countByte = nullptr;
    }
};

void PutLE16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void WriteRawForm(CompressCursor* cursor, const uint8_t* plane, uint32_t size) {
    cursor->pos = cursor->start + kCompressHeaderSize;
    PutBlockHeader(*cursor, kFBBMagic, kCompressRawMarker);
    iFBBCopyData(cursor, plane, size);
}

}  // namespace

int iCSTFBB_WriteBiLLine(CompressCursor* cursor, const uint8_t* data, uint32_t size, uint32_t count,
                         const FBCompressTables& tables) {
    const size_t total = static_cast<size_t>(size) * count;
    uint8_t* pos = cursor->pos;
    const uint8_t* const limit = pos + (3 * total) / 4;

    // Distance table. An entry outside 1..2048 is never used for a copy.
    uint32_t distances[kFBBDistanceCount];
    uint32_t farthest = 0;
    for (int k = 0; k < kFBBDistanceCount; ++k) {
        const int32_t offset = tables.xFX_rFXOffs[k];
        const bool usable = offset < 0 && offset >= -static_cast<int32_t>(kFBBMaxDistance);
        distances[k] = usable ? static_cast<uint32_t>(-offset) : 0;
        farthest = std::max(farthest, distances[k]);
        PutLE16(pos + 2 * k, distances[k]);
    }
    pos += kFBBTableBytes;

    // Leading literals: the bytes no distance of the table can reach back from.
    const uint32_t leading =
        static_cast<uint32_t>(std::min<size_t>({farthest, kFBBMaxLeadingLiterals, total}));
    PutLE32(cursor->start + 4, leading);
    if (leading != 0) std::memcpy(pos, data, leading);
    pos += leading;

    FBCopySearch search(data, total, distances, tables.xFX_MaxMatchCnts);
    LiteralRun run;
    size_t p = leading;
    bool afterLiteral = false;
    while (p < total) {
        const size_t remaining = total - p;
        if (remaining >= kFBBMinCopy) {
            const uint32_t maxLength = static_cast<uint32_t>(std::min<size_t>(remaining, kFBBMaxCopy));
            const FBCopyChoice copy = search.Find(p, maxLength, afterLiteral);
            if (copy.length >= kFBBMinCopy) {
                run.Close();
                pos = PutCopy(pos, copy);
                p += copy.length;
                afterLiteral = false;
                continue;
            }
        }
        pos = run.Add(pos, data[p++]);
        afterLiteral = true;
        if (pos > limit) return kCompressGiveUp;
    }
    run.Close();
    cursor->pos = pos;
    return 0;
}

void iCSTFBB_Reset(CompressCursor* cursor, uint8_t* out) {
    cursor->start = out;
    cursor->pos = out + kCompressHeaderSize;
}

void iCSTFBB_AdvancePointer(CompressCursor* cursor, uint32_t bytes) { cursor->pos += bytes; }

uint32_t iCSTFBB_DataSize(const CompressCursor& cursor) {
    return static_cast<uint32_t>(cursor.pos - cursor.start);
}

void iFBBCopyData(CompressCursor* cursor, const uint8_t* data, uint32_t size) {
    CopyRawPlane(cursor, data, size);
}

uint32_t XORFBB_BMP_Data_En(uint8_t* out, const uint8_t* data, uint32_t width, uint32_t lines, uint8_t* work,
                            uint8_t parameter, FBCompressTables* tables) {
    const uint32_t total = width * lines;
    CompressCursor cursor;
    iCSTFBB_Reset(&cursor, out);
    PutLE32(out, kFBBMagic);

    // The block does not say whether its data is transposed: the printer
    // decides by the band's shape. A plane that must be transposed but has no
    // buffer to be transposed into therefore goes raw.
    const bool transposes = width != 1 && lines != 1;
    if (transposes && work == nullptr) {
        WriteRawForm(&cursor, data, total);
        return iCSTFBB_DataSize(cursor);
    }
    const uint8_t* source = data;
    uint32_t size = width;  // bytes per run of the analysis: a line, or a column
    uint32_t count = lines;
    if (transposes) {
        iiTranspose(work, data, width, lines);
        source = work;
        size = lines;
        count = width;
    }

    if (parameter != 0 || !tables->IsBuilt()) iFindXFXOffs(source, size, count, parameter, tables);
    if (iCSTFBB_WriteBiLLine(&cursor, source, size, count, *tables) == kCompressGiveUp) {
        WriteRawForm(&cursor, data, total);
    }
    return iCSTFBB_DataSize(cursor);
}
