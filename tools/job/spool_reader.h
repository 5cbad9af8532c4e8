// A spool file read one record at a time, so that a job of any length is
// played holding one spooled buffer, not the file. The reader checks what
// DecodeSpoolFile checks, with the same messages and byte offsets; it keeps
// a small read-ahead buffer and reuses the record's buffer from record to
// record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "job/spool_file.h"
#include "sys/files.h"
#include "sys/text.h"

class SpoolFileReader {
public:
    enum class Step { Record, End, Fault };

    // A file may be of any length, but no single buffer is taken larger than
    // maxRecordBytes (the whole-file readers' limit by default).
    explicit SpoolFileReader(uint64_t maxRecordBytes = kSpoolMaxFileBytes)
        : maxRecordBytes_(maxRecordBytes) {}

    // Opens the file and checks its header; false and a message naming the
    // file otherwise.
    bool Open(sys::WStringView path, std::string* error);

    // The next record into *record, whose buffer is reused. End after the
    // End record (when nothing follows it); Fault with a message naming the
    // file and the byte offset. Without data the record's bytes are skipped
    // (record->data is left empty): a pass that only checks the file.
    Step Next(SpoolRecord* record, bool withData, std::string* error);

    // Byte offset of the next record.
    uint64_t Offset() const { return offset_; }

private:
    bool Read(uint8_t* out, size_t length);
    bool Skip(uint64_t length);
    Step Fault(std::string* error, uint64_t offset, const std::string& what) const;

    uint64_t maxRecordBytes_;
    sys::File file_;
    std::string name_;
    uint64_t size_ = 0;
    uint64_t offset_ = 0;  // of the reader in the file
    std::vector<uint8_t> ahead_;
    size_t aheadPos_ = 0;
    size_t aheadEnd_ = 0;
};

// Reads the whole file through the reader without keeping the data: its
// structure and the order of its calls (CheckSpoolOrder's messages, behind
// the file's name). For checking a job before it is played.
bool CheckSpoolFile(sys::WStringView path, std::string* error);
