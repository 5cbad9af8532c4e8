#include "pipeline/cmd_writer.h"

#include <cstddef>

namespace {

// Display-list opcodes the pipeline writes.
enum : uint8_t {
    kOpBox16 = 0x54,
    kOpSetRow = 0x60,
    kOpSetColumn = 0x62,
    kOpSetRowOrigin = 0x68,
    kOpSetColumnOrigin = 0x69,
    kOpSetRopColour = 0x75,
    kOpSetScale = 0x82,
    kOpSkip4 = 0x83,
    kOpWatermarkBegin = 0x90,
    kOpWatermarkEnd = 0x91,
};
constexpr uint8_t kRopCopy = 0xF0;
constexpr uint32_t kColourBlack = 0x81000000;

// A command being put together before it goes into the list as one piece.
class Command {
public:
    Command& Op(uint8_t opcode) {
        bytes_[size_++] = opcode;
        return *this;
    }
    Command& U16(uint16_t v) { return Op(static_cast<uint8_t>(v)).Op(static_cast<uint8_t>(v >> 8)); }
    Command& U32(uint32_t v) {
        return U16(static_cast<uint16_t>(v)).U16(static_cast<uint16_t>(v >> 16));
    }
    int AppendTo(FBCmdList* list) const {
        return FBCmdListAddData(list, bytes_, static_cast<uint32_t>(size_), kFBCmdPipelineTag);
    }

private:
    uint8_t bytes_[24] = {};  // the longest command is the 17-byte rectangle
    size_t size_ = 0;
};

int AppendOpcode(FBCmdList* list, uint8_t opcode) {
    return Command().Op(opcode).AppendTo(list);
}

}  // namespace

int FBCmdWriteBasePos(FBCmdList* list, uint32_t rowOrigin, uint32_t columnOrigin) {
    if (list == nullptr) return 0;
    return Command().Op(kOpSetRowOrigin).U32(rowOrigin).Op(kOpSetColumnOrigin).U32(columnOrigin)
        .AppendTo(list);
}

int FBCmdWriteSetScale(FBCmdList* list, uint32_t divisor, uint32_t scale, uint32_t orientation) {
    if (list == nullptr) return 0;
    return Command().Op(kOpSetScale).U32(divisor).U32(scale).Op(kOpSkip4).U32(orientation)
        .AppendTo(list);
}

int FBCmdWriteDrawRect(FBCmdList* list, uint16_t r0, uint16_t c0, uint16_t r1, uint16_t c1) {
    if (list == nullptr) return 0;
    if (r1 <= r0 || c1 <= c0) return 1;
    return Command()
        .Op(kOpSetRopColour).Op(kRopCopy).U32(kColourBlack)
        .Op(kOpSetRow).U16(r0)
        .Op(kOpSetColumn).U16(c0)
        .Op(kOpBox16).U16(static_cast<uint16_t>(r1 - r0)).U16(static_cast<uint16_t>(c1 - c0))
        .AppendTo(list);
}

int FBCmdWriteDrawBorder(FBCmdList* list, uint16_t r0, uint16_t c0, uint16_t r1, uint16_t c1,
                         uint16_t thickness) {
    if (list == nullptr) return 0;
    const uint16_t t = thickness;
    if (r0 < t) r0 = t;
    if (c0 < t) c0 = t;
    // Corners wrap round in 16 bits as the rectangle's operands do.
    auto less = [t](uint16_t v) { return static_cast<uint16_t>(v - t); };
    auto more = [t](uint16_t v) { return static_cast<uint16_t>(v + t + 1); };
    int ok = FBCmdWriteDrawRect(list, less(r0), less(c0), more(r1), more(c0));  // left
    ok &= FBCmdWriteDrawRect(list, less(r0), less(c0), more(r0), more(c1));     // top
    ok &= FBCmdWriteDrawRect(list, less(r1), less(c0), more(r1), more(c1));     // bottom
    ok &= FBCmdWriteDrawRect(list, less(r0), less(c1), more(r1), more(c1));     // right
    return ok;
}

int FBCmdLoadWatermark(FBCmdList* list, sys::WStringView portraitFile,
                       sys::WStringView landscapeFile, uint32_t orientation,
                       uint32_t pageNumber, uint32_t firstPageOnly) {
    if (list == nullptr) return 0;
    if (firstPageOnly != 0 && pageNumber != 1) return 1;
    const sys::WStringView file = orientation != 0 ? landscapeFile : portraitFile;
    if (file.empty()) return 1;
    if (!AppendOpcode(list, kOpWatermarkBegin)) return 0;
    const int read = FBCmdBufferAddDataFromFile(list, file);
    const int ended = AppendOpcode(list, kOpWatermarkEnd);
    return read && ended ? 1 : 0;
}

int FBCmdLoadOverlay(FBCmdList* list, sys::WStringView overlayFile) {
    if (list == nullptr) return 0;
    if (overlayFile.empty()) return 1;
    if (list->format != kCmdPlain) return 0;
    FBCmdList overlay;
    FBCmdListInit(&overlay, kCmdPlain);
    const int read = FBCmdBufferAddDataFromFile(&overlay, overlayFile);
    const int merged = FBCmdBufferMerge(list, &overlay);
    return read && merged ? 1 : 0;
}
