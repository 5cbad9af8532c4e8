#include "job/job_builder.h"

#include "pipeline/fb_records.h"
#include "pipeline/page_geometry.h"

namespace {

// Any byte that is not an opcode plays as a one-byte no-op.
constexpr uint8_t kNoOpByte = 0x00;

uint32_t DocumentOptions(const JobSettings& s) {
    uint32_t options = 0;
    if (s.landscapeScale) options |= kDocOptLandscapeScale;
    if (s.pagesPerSheet > 1) options |= kDocOptNup;
    if (s.posterTiles > 0) options |= kDocOptPoster;
    if (s.booklet) options |= kDocOptBooklet;
    if (s.scaleWithoutEnlarging) options |= kDocOptScaleNoEnlarge;
    // The driver asks for duplex; job finishing turns the request into the
    // duplex flag that the job header reads.
    if (s.duplexBinding != 0) options |= kDocOptDuplexRequest;
    if (s.pageOrder != 0) options |= kDocOptPageOrder;
    return options;
}

void PutTag(std::vector<uint8_t>& buffer, uint32_t tag) {
    for (int shift = 0; shift < 32; shift += 8) buffer.push_back(static_cast<uint8_t>(tag >> shift));
}

}  // namespace

void PrintableSize(const JobSettings& settings, uint32_t* width, uint32_t* height) {
    if (settings.printableWidth != 0 && settings.printableHeight != 0) {
        *width = settings.printableWidth;
        *height = settings.printableHeight;
        return;
    }
    if (!GetPageDimension(settings.paperCode, width, height, settings.resolution))
        GetPageDimension(kFallbackPaperCode, width, height, settings.resolution);
}

FBInterface MakeSettingsRecord(const JobSettings& s, uint32_t commandFlags) {
    FBInterface record;
    uint32_t width = 0, height = 0;
    PrintableSize(s, &width, &height);
    record.SetUInt(kFBIOrientation, s.landscape ? 1 : 0);
    record.SetUInt(kFBIPaperSize, s.paperCode);
    record.SetUInt(kFBICopies, s.copies);
    record.SetUInt(kFBIResolution, s.resolution);
    record.SetUInt(kFBICollate, s.collate ? 1 : 0);
    record.SetUInt(kFBICommandFlags, commandFlags);
    record.SetUInt(kFBIOutputResolution, s.outputResolution ? s.outputResolution : s.resolution);
    record.SetUInt(kFBIColour, s.colour ? 1 : 0);
    record.SetUInt(kFBIRotate180, s.rotate180 ? 1 : 0);
    record.SetUInt(kFBIPrintableWidth, width);
    record.SetUInt(kFBIPrintableHeight, height);
    record.SetUInt(kFBIDocOptions, DocumentOptions(s));
    record.SetUInt(kFBIScale, s.scale);
    record.SetUInt(kFBIPagesPerSheet, s.pagesPerSheet);
    record.SetUInt(kFBINupOrder, s.nupOrder);
    record.SetUInt(kFBINupBorder, s.nupBorder ? 1 : 0);
    if (s.posterTiles > 0) {
        record.SetUInt(kFBIPosterTiles, s.posterTiles - 1);  // the record counts extra tiles
        record.SetUInt(kFBIPosterOverlap, s.posterOverlap);
    }
    record.SetUInt(kFBIDuplexBinding, s.duplexBinding);
    record.SetUInt(kFBIPageOrder, s.pageOrder);
    for (const auto& [offset, value] : s.fields) record.SetUInt(offset, value);
    return record;
}

std::vector<std::vector<uint8_t>> DisplayListBuffers(const DLWriter& list, size_t maxPieceBytes,
                                                     uint32_t tag) {
    const std::vector<uint8_t>& bytes = list.Bytes();
    const std::vector<size_t>& starts = list.RecordStarts();
    const size_t forbidden = kFBInterfaceSize - 4;  // bytes of display list that would make 1676
    std::vector<std::vector<uint8_t>> buffers;
    size_t record = 0;
    while (record < starts.size()) {
        // Take whole records while they fit; always at least one.
        size_t end = record + 1;
        auto endOffset = [&](size_t r) { return r < starts.size() ? starts[r] : bytes.size(); };
        while (end < starts.size() && endOffset(end + 1) - starts[record] <= maxPieceBytes) ++end;
        bool pad = false;
        if (endOffset(end) - starts[record] == forbidden) {
            if (end - record > 1) --end;
            else pad = true;
        }
        std::vector<uint8_t> buffer;
        PutTag(buffer, tag);
        buffer.insert(buffer.end(), bytes.begin() + static_cast<std::ptrdiff_t>(starts[record]),
                      bytes.begin() + static_cast<std::ptrdiff_t>(endOffset(end)));
        if (pad) buffer.push_back(kNoOpByte);
        buffers.push_back(std::move(buffer));
        record = end;
    }
    return buffers;
}

void SpoolJobBuilder::Add(SpoolCall call, std::vector<uint8_t> data) {
    job_.records.push_back({call, std::move(data)});
}

void SpoolJobBuilder::StartDoc(const JobSettings& settings) {
    Add(SpoolCall::StartDoc, std::vector<uint8_t>(documentName_.begin(), documentName_.end()));
    const FBInterface record = MakeSettingsRecord(settings, kFBICmdStartDoc);
    Add(SpoolCall::WritePrinter, std::vector<uint8_t>(record.bytes.begin(), record.bytes.end()));
}

void SpoolJobBuilder::StartPage(const JobSettings& settings) {
    StartPageWithoutSettings();
    const FBInterface record = MakeSettingsRecord(settings, kFBICmdStartPage);
    Add(SpoolCall::WritePrinter, std::vector<uint8_t>(record.bytes.begin(), record.bytes.end()));
}

void SpoolJobBuilder::StartPageWithoutSettings() { Add(SpoolCall::StartPage); }

void SpoolJobBuilder::AddDisplayList(const DLWriter& list, size_t maxPieceBytes) {
    for (auto& buffer : DisplayListBuffers(list, maxPieceBytes))
        Add(SpoolCall::WritePrinter, std::move(buffer));
}

void SpoolJobBuilder::AddBuffer(std::vector<uint8_t> buffer) {
    Add(SpoolCall::WritePrinter, std::move(buffer));
}

void SpoolJobBuilder::EndPage() {
    Add(SpoolCall::EndPage);
    ++pages_;
}

void SpoolJobBuilder::Abort() { Add(SpoolCall::Abort); }
void SpoolJobBuilder::EndDoc() { Add(SpoolCall::EndDoc); }
