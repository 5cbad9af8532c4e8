#include "pipeline/fb_records.h"

#include <algorithm>

#include "pipeline/page_geometry.h"

namespace {

// The table entry that gives the page geometry of a paper code: its own, or
// the fallback paper's for a code the table does not know.
const PaperEntry& GeometryPaper(uint32_t paperCode) {
    const PaperEntry* paper = FindPaper(paperCode);
    return paper ? *paper : *FindPaper(kFallbackPaperCode);
}

bool PlausiblePrintableSize(int32_t width, int32_t height) {
    return width >= 256 && height >= 256 && width <= kMaxRecordPrintableDots &&
           height <= kMaxRecordPrintableDots;
}

// Printable size from the record when it is plausible, else from the paper;
// page size from the paper's margins around it.
void SetPageGeometry(FBPage* page, const FBInterface& record) {
    const PaperEntry& paper = GeometryPaper(page->paperCode);
    const int32_t width = record.Int(kFBIPrintableWidth);
    const int32_t height = record.Int(kFBIPrintableHeight);
    if (PlausiblePrintableSize(width, height)) {
        page->printableWidth = static_cast<uint32_t>(width);
        page->printableHeight = static_cast<uint32_t>(height);
    } else {
        PaperPrintableDots(paper, page->resolution, &page->printableWidth, &page->printableHeight);
    }
    uint32_t left = 0, top = 0, right = 0, bottom = 0;
    PaperMarginDots(paper, page->resolution, &left, &top, &right, &bottom);
    page->pageWidth = left + page->printableWidth + right;
    page->pageHeight = top + page->printableHeight + bottom;
}

// The first page takes its own paper source only when the record says the
// first page is different.
uint32_t FirstPageSource(const FBInterface& record) {
    return record.Int(kFBIFirstPageDifferent) != 0 ? record.UInt(kFBIFirstPageSource)
                                                   : record.UInt(kFBIPaperSource);
}

// Copies of one page: the library repeats collated jobs itself, so each page
// then goes out once. The page header has 16 bits for the count, and a count
// of zero or less from the driver still means one copy.
uint32_t PageCopies(const FBInterface& record) {
    if (record.Int(kFBICollate) == 1) return 1;
    return static_cast<uint32_t>(std::clamp<int32_t>(record.Int(kFBICopies), 1, 0xFFFF));
}

uint32_t DuplexType(uint32_t options, const FBInterface& record) {
    if (options & kDocOptPoster) return kDuplexOff;
    if (options & kDocOptBookletActive) return kDuplexShortEdge;
    if (options & kDocOptDuplex) return record.UInt(kFBIDuplexBinding);
    return kDuplexNone;
}

// A path that does not fit the summary is dropped rather than cut: a cut path
// could name some other file.
void CopyPath(char16_t (&target)[kFBSettingsPathUnits], const sys::WString& path) {
    std::fill(std::begin(target), std::end(target), u'\0');
    if (path.size() >= kFBSettingsPathUnits) return;
    std::copy(path.begin(), path.end(), target);
}

}  // namespace

uint32_t FBRecordResolution(const FBInterface& record) {
    const int32_t resolution = record.Int(kFBIResolution);
    if (resolution == 300 || resolution == 600 || resolution == 1200) {
        return static_cast<uint32_t>(resolution);
    }
    return 600;
}

uint32_t FBRecordScale(const FBInterface& record) {
    const int32_t percent = record.Int(kFBIScale);
    if (percent <= 0) return 100;
    return static_cast<uint32_t>(std::clamp(percent, kMinScalePercent, kMaxScalePercent));
}

int FBParseRecordPage(FBRecordPage* parsed, const FBInterface& record) {
    FBPage& page = parsed->page;
    page = FBPage{};
    page.paperCode = record.UInt(kFBIPaperSize);
    page.resolution = FBRecordResolution(record);
    SetPageGeometry(&page, record);
    page.orientation = record.UInt(kFBIOrientation);
    page.paperSource = record.UInt(kFBIPaperSource);
    page.colour = record.UInt(kFBIColour);
    page.bitsPerPixel = page.colour != 0 ? 32 : 8;
    page.outputResolution = record.UInt(kFBIOutputResolution);
    page.renderValue184 = record.UInt(kFBIRenderValue184);
    page.renderValue192 = record.UInt(kFBIRenderValue192);
    page.renderValue200 = record.UInt(kFBIRenderValue200);
    if (record.UInt(kFBIDocOptions) & kDocOptPoster) {
        page.poster = 1;
        page.posterTiles = record.UInt(kFBIPosterTiles);
        page.posterOverlap = record.UInt(kFBIPosterOverlap);
    }
    page.rotate180 = record.UInt(kFBIRotate180);
    page.copies = PageCopies(record);
    parsed->firstPageSource = FirstPageSource(record);
    parsed->scale = FBRecordScale(record);
    return 1;
}

FBPage FBRecordPageFor(const FBRecordPage& parsed, uint32_t pageNumber) {
    FBPage page = parsed.page;
    page.pageNumber = pageNumber;
    if (pageNumber == 1) page.paperSource = parsed.firstPageSource;
    return page;
}

int FBPageSetInfo(FBPage* page, const FBInterface& record, uint32_t pageNumber) {
    FBRecordPage parsed;
    FBParseRecordPage(&parsed, record);
    *page = FBRecordPageFor(parsed, pageNumber);
    return 1;
}

int InitializeSettings(FBSettings* settings, uint32_t options, const FBInterface& record) {
    *settings = FBSettings{};
    settings->colourIndex = record.Int(kFBIColour) != 0 ? 1 : 0;
    settings->paperTypeIndex = record.UInt(kFBIPaperType);
    settings->timeout = record.UInt(kFBITimeout);
    settings->jamRecoveryIndex = record.UInt(kFBIJamRecovery);
    settings->densityIndex = record.UInt(kFBIDensity);
    settings->economyIndex = record.UInt(kFBIEconomy);
    settings->powerSaveTime = record.UInt(kFBIPowerSaveTime);
    settings->retIndex = 0;
    settings->reprintIndex = record.UInt(kFBIReprint);
    settings->altitudeIndex = record.UInt(kFBIAltitude);
    settings->duplexType = DuplexType(options, record);
    settings->watermarkFirstPageOnly = record.UInt(kFBIWatermarkFirstPageOnly);
    settings->scale = FBRecordScale(record);
    settings->landscapeScale = (options & kDocOptLandscapeScale) ? 1 : 0;
    settings->scaleNoEnlarge = (options & kDocOptScaleNoEnlarge) ? 1 : 0;
    if (options & kDocOptUseOverlay) {
        CopyPath(settings->overlayPath, record.String(kFBIOverlayPath));
    }
    return 1;
}
