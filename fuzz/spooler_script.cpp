#include "spooler_script.h"

#include <algorithm>
#include <array>
#include <span>

#include "decode/stream_decoder.h"
#include "encode/dl_writer.h"
#include "job/job_builder.h"
#include "pipeline/entry_points.h"
#include "sys/files.h"
#include "sys/spooler.h"

namespace {

// The script's bytes; what is missing reads as zero.
class ScriptReader {
public:
    ScriptReader(const uint8_t* data, size_t size) : data_(data), left_(size) {}

    bool Empty() const { return left_ == 0; }

    uint8_t U8() {
        if (left_ == 0) return 0;
        --left_;
        return *data_++;
    }
    // Operands are read one statement at a time: the order in which a
    // function's arguments are evaluated differs between compilers, and a
    // script must mean the same in every build.
    uint16_t U16() {
        const uint8_t low = U8();
        return static_cast<uint16_t>(low | U8() << 8);
    }
    uint32_t U32() {
        const uint16_t low = U16();
        return low | static_cast<uint32_t>(U16()) << 16;
    }
    int8_t I8() { return static_cast<int8_t>(U8()); }

    // At most n bytes: as many as are left.
    std::vector<uint8_t> Take(size_t n) { return Bytes(std::min(n, left_)); }

    // n bytes, zero-padded past the end of the script.
    std::vector<uint8_t> Bytes(size_t n) {
        std::vector<uint8_t> bytes(n, 0);
        const size_t have = std::min(n, left_);
        std::copy(data_, data_ + have, bytes.begin());
        data_ += have;
        left_ -= have;
        return bytes;
    }

private:
    const uint8_t* data_;
    size_t left_;
};

// ---- Settings records ---------------------------------------------------------

// The fields the library reads, as a field selector picks them.
constexpr std::array<uint32_t, 51> kKnownFields = {
    kFBIOrientation,
    kFBIPaperSize,
    kFBICopies,
    kFBIResolution,
    kFBICollate,
    kFBIColourSetting164,
    kFBICommandFlags,
    kFBIOutputResolution,
    kFBIRenderValue184,
    kFBIColour,
    kFBIRenderValue192,
    kFBIRotate180,
    kFBIRenderValue200,
    kFBIPrintableWidth,
    kFBIPrintableHeight,
    kFBIPaperSource,
    kFBIPaperType,
    kFBIFirstPageDifferent,
    kFBIFirstPageSource,
    kFBIEconomy,
    kFBIPowerSaveTime,
    kFBIDensity,
    kFBIJamRecovery,
    kFBIReprint,
    kFBIAltitude,
    kFBITimeout,
    kFBIUnused268,
    kFBIDocOptions,
    kFBIScale,
    kFBIPagesPerSheet,
    kFBINupBorder,
    kFBINupOrder,
    kFBIPosterTiles,
    kFBIPosterOverlap,
    kFBIAskBeforeOverlay,
    kFBIDuplexBinding,
    kFBIPageOrder,
    kFBIWatermarkFirstPageOnly,
    kFBIColourSetting1612,
    kFBIColourSetting1616,
    kFBIColourSetting1620,
    kFBIColourSetting1624,
    kFBIColourSetting1628,
    kFBIColourSetting1644,
    kFBIColourSetting1648,
    kFBIColourSetting1652,
    kFBIColourSetting1656,
    kFBIColourSetting1660,
    kFBIColourSetting1664,
    kFBIColourSetting1668,
    kFBIColourSetting1672,
};

// Values that sit on the edges of what the fields mean.
constexpr std::array<uint32_t, 31> kAwkwardValues = {
    0,        1,   2,    3,        4,    5,    0xFFFFFFFF, 0x7FFFFFFF, 0x80000000, 0x8000,  0x8004,
    0x100004, 255, 256,  257,      300,  600,  1200,       2400,       0xFFFF,     0x10000, 0x7FFF,
    0x8001,   999, 1000, 0x200000, 0x40, 0x20, 0x100000,   0x80000,    0x20000,
};

void OverwriteField(ScriptReader& in, FBInterface* record) {
    const uint8_t selector = in.U8();
    uint32_t offset = 0;
    if (selector < 0x80) {
        offset = kKnownFields[selector % kKnownFields.size()];
    } else {
        const uint32_t word = (uint32_t{selector & 0x7Fu} << 8 | in.U8()) % (kFBInterfaceSize / 4);
        offset = word * 4;
    }
    const uint8_t value = in.U8();
    if (value < 0xE0) record->SetUInt(offset, value);
    else if (value < 0xFF) record->SetUInt(offset, kAwkwardValues[value - 0xE0]);
    else record->SetUInt(offset, in.U32());
}

void OverwriteFields(ScriptReader& in, FBInterface* record, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) OverwriteField(in, record);
}

JobSettings BaseSettings(ScriptReader& in, bool* overlay) {
    JobSettings s;
    const uint8_t mode = in.U8();
    static constexpr uint32_t kResolution[8] = {300, 300, 300, 300, 600, 1200, 600, 300};
    static constexpr uint32_t kOutput[8] = {0, 0, 0, 0, 0, 0, 1200, 1200};
    s.resolution = kResolution[mode & 7];
    s.outputResolution = kOutput[mode & 7];
    s.colour = mode & 0x08;
    s.rotate180 = mode & 0x10;
    const bool poster = mode & 0x20;
    s.landscape = mode & 0x40;
    s.collate = mode & 0x80;

    const uint8_t paper = in.U8();
    static constexpr uint32_t kPaperCodes[8] = {9, 70, 11, 1, 256, 0, 35, 1234};
    s.paperCode = kPaperCodes[(paper >> 4) & 7];
    // A whole sheet from the paper table only for a plain 300 dpi page: a
    // poster or a finer resolution of it takes seconds a run.
    const bool tablePaper = (paper & 0x80) && s.resolution == 300 && s.outputResolution == 0 && !poster;
    if (!tablePaper) {
        s.printableWidth = 256 + 64 * (paper & 3);
        s.printableHeight = 256 + 64 * ((paper >> 2) & 3);
    }

    const uint8_t scale = in.U8();
    static constexpr uint32_t kScales[16] = {100, 100, 100, 100, 100, 100, 100, 100,
                                             50,  25,  10,  150, 200, 400, 0,   5000};
    s.scale = kScales[scale & 15];
    s.scaleWithoutEnlarging = scale & 0x10;
    s.landscapeScale = scale & 0x20;
    *overlay = scale & 0x80;

    const uint8_t copies = in.U8();
    static constexpr uint32_t kCopies[4] = {1, 2, 3, 0};
    static constexpr uint32_t kBindings[8] = {0, 1, 2, 4, 5, 3, 6, 0xFFFFFFFF};
    s.copies = kCopies[copies & 3];
    s.duplexBinding = (scale & 0x40) ? kBindings[(copies >> 2) & 7] : 0;
    static constexpr uint32_t kPosterTiles[8] = {1, 2, 2, 2, 3, 3, 4, 6};
    if (poster) s.posterTiles = kPosterTiles[(copies >> 5) & 7];
    return s;
}

std::vector<uint8_t> RecordBuffer(const FBInterface& record) {
    return std::vector<uint8_t>(record.bytes.begin(), record.bytes.end());
}

// ---- Display lists made of valid records --------------------------------------

// A coordinate: mostly small and inside a small page, sometimes anything.
uint16_t Coordinate(ScriptReader& in) {
    const uint8_t b = in.U8();
    return b < 0xF0 ? static_cast<uint16_t>(b * 4) : in.U16();
}

uint32_t ColourCode(ScriptReader& in) {
    const uint8_t kind = in.U8();
    switch (kind & 7) {
        case 0: {
            const uint8_t red = in.U8();
            const uint8_t green = in.U8();
            return SolidColourCode(red, green, in.U8());
        }
        case 1: return SolidColourCode(0, 0, 0);
        case 2: return SolidColourCode(255, 255, 255);
        case 3: return HatchColourCode(in.U8() & 7);
        case 4: return kColourCodeHollow;
        case 5: return (kind & 8) ? kColourCodeRopWhite : kColourCodeRopBlack;
        case 6: return DownloadedBrushCode(in.U8());
        default: return in.U32();
    }
}

void AddGlyph(ScriptReader& in, DLWriter* list) {
    const uint8_t bitOffset = in.U8() & 31;
    const uint16_t rows = static_cast<uint16_t>(1 + (in.U8() & 63));
    const uint16_t width = static_cast<uint16_t>(1 + (in.U8() & 127));
    list->Glyph(bitOffset, rows, width, in.Bytes(size_t{rows} * MaskStride(uint32_t{bitOffset} + width)));
}

void AddBitmap(ScriptReader& in, DLWriter* list) {
    const uint8_t slotByte = in.U8();
    const uint16_t slot =
        slotByte < 0xF0 ? static_cast<uint16_t>(slotByte & 15) : static_cast<uint16_t>(in.U16() % 4096);
    if (in.U8() & 1) {
        list->DrawBitmap(slot);
        return;
    }
    const uint16_t rows = static_cast<uint16_t>(in.U8() & 63);
    const uint16_t width = static_cast<uint16_t>(in.U8() & 127);
    list->DefineBitmap(slot, rows, width, in.Bytes(size_t{rows} * MaskStride(width)));
}

void AddBrush(ScriptReader& in, DLWriter* list) {
    const uint8_t format = in.U8();
    const uint8_t slot = in.U8();
    switch (format & 3) {
        case 0: {
            const uint32_t colour0 = in.U32() & 0xFFFFFF;
            const uint32_t colour1 = in.U32() & 0xFFFFFF;
            list->DefineBrushPattern(slot, colour0, colour1, in.Bytes(128));
            break;
        }
        case 1: list->DefineBrush(kBrushEmpty, slot, in.Bytes(128)); break;
        case 2: list->DefineBrush(kBrushRaw, slot, in.Bytes(1024)); break;
        default: list->DefineBrush(kBrushRaw, slot, in.Bytes(4096)); break;
    }
}

void AddImage(ScriptReader& in, DLWriter* list) {
    static constexpr uint8_t kDepths[4] = {1, 4, 8, 24};
    static constexpr uint32_t kPaletteBytes[4] = {8, 64, 1024, 0};
    const uint8_t kind = in.U8();
    DLImageRecord image;
    image.bitsPerPixel = kDepths[kind & 3];
    image.lead = in.U8() & 7;
    image.flags = in.U8() & 3;
    image.srcRows = static_cast<uint16_t>(1 + (in.U8() & 15));
    image.srcWidth = static_cast<uint16_t>(1 + (in.U8() & 31));
    image.destRows = Coordinate(in);
    image.destCols = Coordinate(in);
    if ((kind & 4) && kPaletteBytes[kind & 3] != 0) image.palette = in.Bytes(kPaletteBytes[kind & 3]);
    image.pixels = in.Bytes(size_t{image.srcRows} *
                            ImageRowBytes(uint32_t{image.srcWidth} + image.lead, image.bitsPerPixel));
    if (kind & 8) list->StretchImage(image);
    else list->BltImage(image);
}

void AddPath(ScriptReader& in, DLWriter* list) {
    const uint8_t kind = in.U8();
    DLPathRecord path;
    path.fillMode = (kind & 1) ? 20 : 22;
    path.wideCoordinates = kind & 2;
    const uint32_t subpaths = 1 + ((kind >> 2) & 1);
    for (uint32_t s = 0; s < subpaths; ++s) {
        std::vector<DLPathPoint> points(1 + (in.U8() & 7));
        for (DLPathPoint& p : points) {
            p.x = static_cast<int16_t>(in.U16());
            p.y = static_cast<int16_t>(in.U16());
        }
        path.subpaths.push_back(std::move(points));
    }
    DLPathSetBoundsFromPoints(&path);
    if (kind & 0x10) {
        list->SetPath(path);
        if (kind & 0x20) list->PaintPath();
    } else {
        list->FillPath(path);
    }
    if (kind & 0x40) list->ClipMode(in.U8());
}

void AddLine(ScriptReader& in, DLWriter* list) {
    switch (in.U8() & 7) {
        case 0: {
            const uint16_t row = Coordinate(in);
            list->LineTo(row, Coordinate(in));
            break;
        }
        case 1: {
            const int8_t dRow = in.I8();
            list->LineRel(dRow, in.I8());
            break;
        }
        case 2: {
            const uint16_t column = Coordinate(in);
            list->Line(column, Coordinate(in));
            break;
        }
        case 3: list->SetLineStyle(in.U8()); break;
        case 4: list->SetStylePhase(in.U16()); break;
        case 5: list->WatermarkBegin(); break;
        case 6: list->WatermarkEnd(); break;
        default: list->ClipMode(in.U8()); break;
    }
}

void AddRegisterMove(ScriptReader& in, DLWriter* list) {
    const uint8_t which = in.U8();
    const int8_t delta = in.I8();
    switch (which & 3) {
        case 0: list->MoveRow(delta); break;
        case 1: list->MoveColumn(delta); break;
        case 2: list->MoveSpanEnd(delta); break;
        default: list->MoveHeight(delta); break;
    }
}

void AddOrigin(ScriptReader& in, DLWriter* list) {
    const uint8_t which = in.U8();
    const uint32_t value = (which & 2) ? in.U32() : Coordinate(in);
    if (which & 1) list->SetColumnOrigin(value);
    else list->SetRowOrigin(value);
}

void AddScale(ScriptReader& in, DLWriter* list) {
    static constexpr uint32_t kValues[8] = {100, 50, 200, 1, 3, 0, 1000, 0xFFFFFFFF};
    const uint8_t b = in.U8();
    if (b == 0xFF) {
        const uint32_t denominator = in.U32();
        list->SetScale(denominator, in.U32());
    } else list->SetScale(kValues[b & 7], kValues[(b >> 3) & 7]);
}

void AddFiller(ScriptReader& in, DLWriter* list) {
    const uint8_t b = in.U8();
    if (b & 1) list->Skip4(in.U32());
    else if (b & 2) list->Skip1(in.U8(), b & 4);
    else list->Raw(in.Bytes(b >> 4));
}

void AddRecord(ScriptReader& in, DLWriter* list) {
    switch (in.U8() % 24) {
        case 0: {
            const uint8_t rop = in.U8();
            list->SetRopColour(rop, ColourCode(in));
            break;
        }
        case 1: list->SetRow(Coordinate(in)); break;
        case 2: list->SetColumn(Coordinate(in)); break;
        case 3: list->SetSpanEnd(Coordinate(in)); break;
        case 4: list->SetHeight(in.U8()); break;
        case 5: {
            const uint8_t rows = in.U8();
            list->Box8(rows, in.U8());
            break;
        }
        case 6: {
            const uint16_t rows = Coordinate(in);
            list->Box16(rows, Coordinate(in));
            break;
        }
        case 7: list->Span(1 + (in.U8() & 7)); break;
        case 8: {
            const int8_t dColumn = in.I8();
            list->SpanStep(dColumn, in.I8());
            break;
        }
        case 9: list->VSpan(1 + (in.U8() & 7)); break;
        case 10: AddRegisterMove(in, list); break;
        case 11: AddGlyph(in, list); break;
        case 12: AddBitmap(in, list); break;
        case 13: AddBrush(in, list); break;
        case 14: {
            const uint32_t code = ColourCode(in);
            list->SetColour(code, in.U8() & 1);
            break;
        }
        case 15: {
            const uint32_t code = ColourCode(in);
            const uint32_t foreground = in.U32() & 0xFFFFFF;
            list->SetHatch(code, foreground, in.U32() & 0xFFFFFF);
            break;
        }
        case 16: AddScale(in, list); break;
        case 17: AddOrigin(in, list); break;
        case 18: AddImage(in, list); break;
        case 19: AddPath(in, list); break;
        case 20: AddLine(in, list); break;
        case 21: list->SetRop(in.U8()); break;
        case 22: list->SetRopColour(0xF0, SolidColourCode(0, 0, 0)); break;
        default: AddFiller(in, list); break;
    }
}

// The list's spooled buffers with a few bytes flipped.
std::vector<std::vector<uint8_t>> BuiltListBuffers(ScriptReader& in) {
    DLWriter list;
    const uint32_t records = in.U8();
    for (uint32_t i = 0; i < records && !in.Empty(); ++i) AddRecord(in, &list);
    const uint32_t flips = in.U8() & 3;
    const size_t pieceBytes = std::max<size_t>(1, in.U16());
    std::vector<std::vector<uint8_t>> buffers = DisplayListBuffers(list, pieceBytes, 0);
    size_t total = 0;
    for (const auto& buffer : buffers) total += buffer.size();
    for (uint32_t i = 0; i < flips; ++i) {
        size_t at = in.U16();
        const uint8_t mask = in.U8();
        if (total == 0) continue;
        at %= total;
        for (auto& buffer : buffers) {
            if (at < buffer.size()) {
                buffer[at] ^= mask;
                break;
            }
            at -= buffer.size();
        }
    }
    return buffers;
}

// ---- The spooler's side ---------------------------------------------------------

constexpr uint32_t kMaxPageEnds = 4;

// How the document reaches the printer (bits 2-3 of the start byte).
enum class PrinterKind : uint8_t {
    kSpooler = 0,    // the spooler's handle on a sound printer
    kFailing = 1,    // the spooler's handle; writes past the first blocks fail for good
    kRetrying = 2,   // the spooler's handle; writes past the header are refused as busy twice
    kOwnHandle = 3,  // no spooler handle: the library opens the record's printer itself
};

// The script's header: the document's settings and how it starts.
struct ScriptHeader {
    FBInterface record;
    uint8_t start = 0;  // bits 0-1 of the start byte
    PrinterKind printer = PrinterKind::kSpooler;
};

// Kinds whose printer the caller does not have become the sound printer.
PrinterKind AvailableKind(PrinterKind kind, const SpoolScriptPrinter& target) {
    if (kind == PrinterKind::kFailing && target.failingPrinterName.empty()) return PrinterKind::kSpooler;
    if (kind == PrinterKind::kRetrying && target.retryingPrinterName.empty()) return PrinterKind::kSpooler;
    if (kind == PrinterKind::kOwnHandle && target.ownOutputFile.empty()) return PrinterKind::kSpooler;
    return kind;
}

void WriteOverlayFile(ScriptReader& in, const SpoolScriptPrinter& target, FBInterface* record) {
    const std::vector<uint8_t> content = in.Take(in.U16());
    sys::File file = sys::File::CreateAlways(target.overlayFile, sys::Share::None);
    uint32_t written = 0;
    if (!content.empty()) file.Write(content.data(), static_cast<uint32_t>(content.size()), &written);
    record->SetUInt(kFBIDocOptions, record->UInt(kFBIDocOptions) | kDocOptUseOverlay);
    record->SetString(kFBIOverlayPath, target.overlayFile);
}

ScriptHeader ReadHeader(ScriptReader& in, const SpoolScriptPrinter& target) {
    ScriptHeader header;
    bool overlay = false;
    const JobSettings settings = BaseSettings(in, &overlay);
    header.record = MakeSettingsRecord(settings, kFBICmdStartDoc);
    const uint8_t start = in.U8();
    header.start = start & 3;
    header.printer = AvailableKind(static_cast<PrinterKind>((start >> 2) & 3), target);
    // Without a spooler handle the record's printer name is what the
    // library opens.
    if (header.printer == PrinterKind::kOwnHandle)
        header.record.SetString(kFBIPrinterName, target.printerName);
    OverwriteFields(in, &header.record, in.U8() & 7);
    if (overlay) WriteOverlayFile(in, target, &header.record);
    return header;
}

class ScriptPlayer {
public:
    ScriptPlayer(ScriptReader& in, sys::PrinterHandle printer, const FBInterface& base)
        : in_(in), base_(base) {
        handle_ = DrvSplStartDoc(printer, 1);
    }
    ~ScriptPlayer() { DrvSplClose(handle_); }
    ScriptPlayer(const ScriptPlayer&) = delete;
    ScriptPlayer& operator=(const ScriptPlayer&) = delete;

    uint32_t EndPages() const { return endPages_; }
    bool Aborted() const { return aborted_; }

    void Play(uint8_t start) {
        StartDocument(start);
        while (!in_.Empty()) Call(in_.U8() % 10);
        DrvSplEndDoc(handle_);
    }

private:
    void Write(std::vector<uint8_t> buffer) {
        uint32_t written = 0;
        DrvSplWritePrinter(handle_, buffer.empty() ? nullptr : buffer.data(),
                           static_cast<uint32_t>(buffer.size()), &written);
    }

    void WriteRecord(uint32_t commandFlags, uint32_t overwrites) {
        FBInterface record = base_;
        record.SetUInt(kFBICommandFlags, commandFlags);
        OverwriteFields(in_, &record, overwrites);
        Write(RecordBuffer(record));
    }

    void StartDocument(uint8_t how) {
        if (how == 2) return;
        WriteRecord(how == 1 ? kFBICmdStartDoc | kFBICmdStartDocFails : kFBICmdStartDoc, 0);
        if (how == 3) {
            DrvSplStartPage(handle_);
            WriteRecord(kFBICmdStartPage, 0);
        }
    }

    // A record with other command flags, or (bits 3-5 all set) a record of
    // the script's own 1676 bytes.
    void OtherRecord() {
        static constexpr uint32_t kFlags[8] = {0,      0x8004, kFBICmdStartDoc, 0x100004,
                                               0x8001, 0x10,   0xFFFFFFFF,      0};
        const uint8_t b = in_.U8();
        if ((b & 0x38) == 0x38) {
            Write(in_.Bytes(kFBInterfaceSize));
            return;
        }
        WriteRecord((b & 7) == 7 ? in_.U32() : kFlags[b & 7], b >> 6);
    }

    void TinyBuffer() {
        const uint8_t b = in_.U8();
        uint8_t bytes[3] = {b, b, b};
        uint32_t written = 0;
        DrvSplWritePrinter(handle_, (b & 4) ? nullptr : bytes, b & 3, (b & 8) ? nullptr : &written);
    }

    // Every page is printed whole, so a script of many pages takes long
    // without reaching anything new: page ends after the fourth are not made.
    void EndPage() {
        if (endPages_ == kMaxPageEnds) return;
        DrvSplEndPage(handle_);
        ++endPages_;
    }

    void Call(uint8_t call) {
        switch (call) {
            case 0: Write(in_.Take(in_.U16())); break;
            case 1:
                for (auto& buffer : BuiltListBuffers(in_)) Write(std::move(buffer));
                break;
            case 2:
                DrvSplStartPage(handle_);
                WriteRecord(kFBICmdStartPage, in_.U8() & 3);
                break;
            case 3: DrvSplStartPage(handle_); break;
            case 4: EndPage(); break;
            case 5: OtherRecord(); break;
            case 6:
                DrvSplAbort(handle_);
                aborted_ = true;
                break;
            case 7: TinyBuffer(); break;
            case 8: DrvSplEndDoc(handle_); break;
            default:
                EndPage();
                EndPage();
                break;
        }
    }

    ScriptReader& in_;
    FBInterface base_;
    void* handle_ = nullptr;
    uint32_t endPages_ = 0;
    bool aborted_ = false;
};

std::vector<uint8_t> ReadFile(sys::WStringView path) {
    std::vector<uint8_t> bytes;
    sys::File file = sys::File::OpenExisting(path, false, sys::Share::ReadWrite);
    if (!file.IsOpen()) return bytes;
    std::vector<uint8_t> chunk(1 << 16);
    uint32_t got = 0;
    while (file.Read(chunk.data(), static_cast<uint32_t>(chunk.size()), &got) && got > 0)
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
    return bytes;
}

void CheckOutput(SpoolScriptRun* run) {
    if (run->output.empty()) {
        run->decoded = true;
        return;
    }
    DecodeOptions options;
    options.keepPlanes = false;
    options.maxPagePlaneBytes = uint64_t{1} << 30;
    options.maxKeptPlaneBytes = uint64_t{1} << 30;
    run->decoded = DecodeStream(run->output.data(), run->output.size(), options, &run->job, &run->error);
}

}  // namespace

SpoolScriptRun PlaySpoolScript(const uint8_t* data, size_t size, const SpoolScriptPrinter& target) {
    SpoolScriptRun run;
    ScriptReader in(data, size);
    const ScriptHeader header = ReadHeader(in, target);
    // A printer that refuses data for good gets a stream cut short, and so
    // does a busy one once the job is aborted (the writer then stops
    // retrying); every other one must receive a whole, well-formed stream.
    run.outputComplete = header.printer != PrinterKind::kFailing;

    if (header.printer == PrinterKind::kOwnHandle) {
        sys::DeleteFile(target.ownOutputFile);
        run.printerReady = true;
        ScriptPlayer player(in, nullptr, header.record);
        player.Play(header.start);
        run.endPages = player.EndPages();
        run.output = ReadFile(target.ownOutputFile);
        sys::DeleteFile(target.ownOutputFile);
        CheckOutput(&run);
        return run;
    }

    const sys::WString& name = header.printer == PrinterKind::kFailing    ? target.failingPrinterName
                               : header.printer == PrinterKind::kRetrying ? target.retryingPrinterName
                                                                          : target.printerName;
    sys::DeleteFile(target.outputFile);
    sys::PrinterHandle printer = sys::OpenPrinter(name);
    if (printer == nullptr) return run;
    if (sys::StartDocPrinter(printer, u"spooler script", target.outputFile, u"RAW") == 0) {
        sys::ClosePrinter(printer);
        return run;
    }
    run.printerReady = true;
    {
        ScriptPlayer player(in, printer, header.record);
        player.Play(header.start);
        run.endPages = player.EndPages();
        if (header.printer == PrinterKind::kRetrying && player.Aborted()) run.outputComplete = false;
    }
    sys::EndDocPrinter(printer);
    sys::ClosePrinter(printer);
    run.output = ReadFile(target.outputFile);
    sys::DeleteFile(target.outputFile);
    CheckOutput(&run);
    return run;
}
