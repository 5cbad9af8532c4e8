// The job spool: where display lists wait on disk.
//
// Mode 1 (single recording file) collects the display list of a whole
// document into one recorded data file: the overlay and watermark files.
// Mode 0 (spool directory) keeps the pages of a job that must be known whole
// before it prints (booklet, reverse order): a directory
//     <temporary folder>VLSPLDIR\<index, 8 digits>      index 0 .. 7
// holding
//     job.vlj          one 92-byte page record (FBPage) per page, in the
//                      order the pages ended
//     <page, 8 digits>.vlp   the page's command list bytes
//
// Recorded data file (written from a list with headers, read back into any
// list): records until the end of the file, each
//     +0 length (LE32) | +4 tag (LE32) | +8 length bytes
#pragma once

#include <cstdint>
#include <vector>

#include "pipeline/cmd_list.h"
#include "pipeline/fb_records.h"
#include "sys/files.h"
#include "sys/text.h"

enum FBJobSpoolMode : uint32_t {
    kSpoolDirectory = 0,
    kSpoolSingleFile = 1,
};

// Spool directories that may exist side by side; a ninth job takes over
// directory 0.
constexpr uint32_t kFBJobSpoolDirectories = 8;
// The longest directory path (characters), as the Windows file functions allow.
constexpr uint32_t kFBJobSpoolMaxPath = 260;

struct FBJobSpool {
    uint32_t mode = kSpoolDirectory;
    uint32_t directoryIndex = 0;
    sys::WString directory;  // empty in mode 1
    uint32_t keep = 0;       // set: the directory outlives the spool (never set by the library)
    sys::File pageInfoFile;  // mode 0: job.vlj
    sys::File dataFile;      // mode 0: the open page's file; mode 1: the recording file
};

// Mode 1 when a file is given: the file is created anew (read and write, not
// shared). Mode 0 otherwise: a spool directory in the temporary folder; when
// the temporary folder cannot be had the system's error text is shown in a
// message box. 0 when the file, the directory or its page-info file cannot be
// created.
int FBJobSpoolInit(FBJobSpool* spool, sys::WStringView file);

// Mode 0 with the spool directory made under `folder` (a trailing backslash
// is optional) instead of the temporary folder.
int FBJobSpoolInitInFolder(FBJobSpool* spool, sys::WStringView folder);

// Mode 0: creates the data file of page->pageNumber and appends the page
// record to the page-info file. Nothing in mode 1 (1) or while a page file is
// open (0).
int FBJobSpoolNewPage(FBJobSpool* spool, const FBPage* page);

// Writes the used bytes of every buffer of the list, in order, to the current
// data file. 0 when no data file is open or a write fails.
int FBJobSpoolAddDataFromCmdBuffer(FBJobSpool* spool, const FBCmdList* list);

// Mode 0: closes the page's data file. In mode 1 the recording file stays
// open and collects all pages.
int FBJobSpoolClosePage(FBJobSpool* spool);

// Reads `count` page records from the start of the page-info file; records
// the file does not hold are left zero and the result is 0. Later pages are
// still appended at the end.
int FBJobSpoolReadPageInfo(FBJobSpool* spool, FBPage* records, uint32_t count);

enum FBJobSpoolReadResult : int {
    kSpoolReadEnd = 0,      // the file ended before a record
    kSpoolReadRecord = 1,   // one whole record read
    kSpoolReadDamaged = 2,  // a record cut short or longer than allowed
};

// Reads one record of a recorded data file at the file's position into
// *buffer, growing it to the record's length when needed but never for a
// length above maxLength (such a record is damaged). Returns a
// FBJobSpoolReadResult; after kSpoolReadDamaged the file position is
// undefined and the caller stops.
int FBJobSpoolReadData(sys::File* file, std::vector<uint8_t>* buffer, uint32_t maxLength, uint32_t* length,
                       uint32_t* tag);

// Appends the records of a recorded data file (see above) to the list,
// one piece per record. The file is untrusted: a record cut short by the end
// of the file, or longer than kFBCmdMaxFileRecord, ends the read; the whole
// records before it stay in the list and the result is 0. Also 0 when the
// file cannot be opened. An empty file adds nothing and gives 1.
int FBCmdBufferAddDataFromFile(FBCmdList* list, sys::WStringView path);

// The longest record read from a recorded data file. Pieces come from the
// spooler's buffers and are far smaller; a longer length only comes from a
// damaged file.
constexpr uint32_t kFBCmdMaxFileRecord = 256u << 20;

// "<directory>\<page, 8 digits>.vlp" and "<directory>\job.vlj".
int FBJobSpoolGetPageFileName(const FBJobSpool* spool, sys::WString* name, uint32_t pageNumber);
int FBJobSpoolGetJobFileName(const FBJobSpool* spool, sys::WString* name);

// Closes the files and removes the spool directory with its spool files,
// unless the keep flag is set or the directory is not a numbered directory
// directly inside a "VLSPLDIR" folder. The VLSPLDIR folder stays.
int FBJobSpoolDelete(FBJobSpool* spool);

// Deletes the files (not the directories) in `directory` that match
// `pattern` ("*.vlp"). 1 when every matching file was deleted.
int MyRemoveFilteredFiles(sys::WStringView directory, sys::WStringView pattern);

// Removes an empty directory.
int MyRemoveDirectory(sys::WStringView directory);
