#include "pipeline/cmd_writer.h"

#include <new>
#include <vector>

#include "encode/dl_writer.h"
#include "pipeline/job_spool.h"

namespace {

// Appends the records that `encode` writes as one piece. The commands are a
// few bytes long; running out of memory for them writes nothing (0).
template <typename Encode>
int AppendCommand(FBCmdList* list, Encode encode) {
    try {
        DLWriter command;
        encode(command);
        const std::vector<uint8_t>& bytes = command.Bytes();
        return FBCmdListAddData(list, bytes.data(), static_cast<uint32_t>(bytes.size()), kFBCmdPipelineTag);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

}  // namespace

int FBCmdWriteBasePos(FBCmdList* list, uint32_t rowOrigin, uint32_t columnOrigin) {
    if (list == nullptr) return 0;
    return AppendCommand(list, [&](DLWriter& w) {
        w.SetRowOrigin(rowOrigin);
        w.SetColumnOrigin(columnOrigin);
    });
}

int FBCmdWriteSetScale(FBCmdList* list, uint32_t divisor, uint32_t scale, uint32_t orientation) {
    if (list == nullptr) return 0;
    return AppendCommand(list, [&](DLWriter& w) {
        w.SetScale(divisor, scale);
        w.Skip4(orientation);  // the orientation rides along, playback skips it
    });
}

int FBCmdWriteDrawRect(FBCmdList* list, uint16_t r0, uint16_t c0, uint16_t r1, uint16_t c1) {
    if (list == nullptr) return 0;
    if (r1 <= r0 || c1 <= c0) return 1;
    return AppendCommand(list, [&](DLWriter& w) {
        w.SetRopColour(kDLRopCopy, kColourCodeSolidBlack);
        w.SetRow(r0);
        w.SetColumn(c0);
        w.Box16(static_cast<uint16_t>(r1 - r0), static_cast<uint16_t>(c1 - c0));
    });
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

int FBCmdLoadWatermark(FBCmdList* list, sys::WStringView portraitFile, sys::WStringView landscapeFile,
                       uint32_t orientation, uint32_t pageNumber, uint32_t firstPageOnly) {
    if (list == nullptr) return 0;
    if (firstPageOnly != 0 && pageNumber != 1) return 1;
    const sys::WStringView file = orientation != 0 ? landscapeFile : portraitFile;
    if (file.empty()) return 1;
    if (!AppendCommand(list, [](DLWriter& w) { w.WatermarkBegin(); })) return 0;
    const int read = FBCmdBufferAddDataFromFile(list, file);
    const int ended = AppendCommand(list, [](DLWriter& w) { w.WatermarkEnd(); });
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
