// Making spooled jobs as the driver's drawing side would: settings records
// (`FBInterface`) from a few readable settings, display-list pieces cut from
// a page's display list, and the whole sequence of spooler calls of a job.
//
//   SpoolJobBuilder job("Letter");
//   job.StartDoc(settings);
//   job.StartPage(settings);
//   DLWriter page; ...; job.AddDisplayList(page);
//   job.EndPage();
//   job.EndDoc();
//   WriteSpoolFile(path, job.Job(), &error);
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "encode/dl_writer.h"
#include "job/bitmap_font.h"
#include "job/spool_file.h"
#include "pipeline/fb_interface.h"

// The settings of a document as the user chose them in the driver.
struct JobSettings {
    uint32_t paperCode = 9;         // Windows paper code; 9 = A4
    uint32_t resolution = 600;      // rendering, dots per inch
    uint32_t outputResolution = 0;  // 0: as rendered; 1200 with 600: the 600 x 1200 mode
    bool colour = false;
    uint32_t copies = 1;
    bool collate = false;
    uint32_t scale = 100;  // percent
    bool landscape = false;
    bool rotate180 = false;
    bool scaleWithoutEnlarging = false;
    bool landscapeScale = false;
    uint32_t duplexBinding = 0;  // 0 off; 1 long edge, 2 short edge, 4 and 5 reversed
    uint32_t posterTiles = 0;    // tiles per side, 0 = no poster
    uint32_t posterOverlap = 0;  // dots
    uint32_t pagesPerSheet = 0;  // N-up; 0 or 1 = off
    uint32_t nupOrder = 0;       // 0 across, 1 down, 2 across from the right, 3 down from the right
    bool nupBorder = false;      // a frame round every page of an N-up sheet
    bool booklet = false;
    uint32_t pageOrder = 0;       // 0 normal, 1 reverse, 2 odd pages only, 3 even pages only
    uint32_t printableWidth = 0;  // dots; 0 = from the paper table
    uint32_t printableHeight = 0;
    // Raw 32-bit fields (offset, value) stored last, for anything else.
    std::vector<std::pair<uint32_t, uint32_t>> fields;
};

// The printable area in dots at the rendering resolution: the settings' own
// size when given, else the paper table's (A4's for an unknown paper code).
void PrintableSize(const JobSettings& settings, uint32_t* width, uint32_t* height);

// The settings record with the given command flags (kFBICmdStartDoc for the
// document's first record, kFBICmdStartPage for each page's).
FBInterface MakeSettingsRecord(const JobSettings& settings, uint32_t commandFlags);

// Display-list pieces are cut at record starts into buffers of a tag and at
// most this many display-list bytes (a longer record gets a buffer of its own).
constexpr size_t kDefaultPieceBytes = 32768;

// The spooled buffers of a display list: each a little-endian tag and whole
// records. A buffer of exactly kFBInterfaceSize bytes would be taken for a
// settings record, so such a piece is cut one record earlier or, for a single
// record, followed by a no-op byte.
std::vector<std::vector<uint8_t>> DisplayListBuffers(const DLWriter& list,
                                                     size_t maxPieceBytes = kDefaultPieceBytes,
                                                     uint32_t tag = 0);

class SpoolJobBuilder {
public:
    explicit SpoolJobBuilder(std::string documentName = "zebl job")
        : documentName_(std::move(documentName)) {}

    // StartDoc and the document's settings record (command flags 0x4).
    void StartDoc(const JobSettings& settings);
    // StartPage and the page's settings record (command flags 0x8000).
    void StartPage(const JobSettings& settings);
    // StartPage alone: the library then keeps the settings it has.
    void StartPageWithoutSettings();
    void AddDisplayList(const DLWriter& list, size_t maxPieceBytes = kDefaultPieceBytes);
    // One WritePrinter buffer exactly as given.
    void AddBuffer(std::vector<uint8_t> buffer);
    void EndPage();
    void Abort();
    void EndDoc();

    const SpoolJob& Job() const { return job_; }
    uint32_t Pages() const { return pages_; }

private:
    void Add(SpoolCall call, std::vector<uint8_t> data = {});

    std::string documentName_;
    SpoolJob job_;
    uint32_t pages_ = 0;
};
