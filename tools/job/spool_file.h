// Spool files: a recorded print job as the sequence of calls that the print
// spooler makes into the rendering library, so that a job can be stored,
// replayed and exchanged. The format is our own:
//
//   header, 8 bytes:
//     +0  "ZSPL"                          magic
//     +4  uint16 LE version               1
//     +6  uint16 LE flags                 0 (any other value is refused)
//   records, each:
//     +0  uint8 call                      see SpoolCall
//     +1  uint32 LE length                of the data that follows
//     +5  data
//   calls and their data:
//     1 StartDoc      the document name, UTF-8 (at most 1024 bytes)
//     2 WritePrinter  the buffer handed to the library, any length
//                     (1676 bytes: a settings record; otherwise a 32-bit tag
//                     and a piece of display list)
//     3 StartPage     no data
//     4 EndPage       no data
//     5 EndDoc        no data
//     6 Abort         no data
//     0 End           no data; the last record of every file
//
// The reader treats a file as untrusted: it never reads outside the bytes it
// was given, refuses unknown calls, data on calls that take none, lengths
// past the end and anything after the End record, and names the byte offset
// of the fault. The End record makes a file cut at a record boundary
// detectable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sys/text.h"

constexpr char kSpoolMagic[4] = {'Z', 'S', 'P', 'L'};
constexpr uint16_t kSpoolVersion = 1;
constexpr size_t kSpoolHeaderSize = 8;
constexpr size_t kSpoolRecordHeaderSize = 5;
constexpr size_t kSpoolMaxDocNameBytes = 1024;
// Files larger than this are refused before they are read whole; the
// streaming reader (spool_reader.h) takes no single buffer larger.
constexpr uint64_t kSpoolMaxFileBytes = uint64_t{1} << 30;

enum class SpoolCall : uint8_t {
    End = 0,
    StartDoc = 1,
    WritePrinter = 2,
    StartPage = 3,
    EndPage = 4,
    EndDoc = 5,
    Abort = 6,
};

const char* SpoolCallName(SpoolCall call);

struct SpoolRecord {
    SpoolCall call = SpoolCall::End;
    std::vector<uint8_t> data;  // document name (StartDoc) or buffer (WritePrinter)
};

// The records of a job, without the End record.
struct SpoolJob {
    std::vector<SpoolRecord> records;
};

std::vector<uint8_t> EncodeSpoolFile(const SpoolJob& job);
// False and a message with the byte offset when the bytes are not a spool file.
bool DecodeSpoolFile(const uint8_t* data, size_t size, SpoolJob* job, std::string* error);

// Whether the calls come in an order the spooler makes: StartDoc first and
// only there, EndDoc last and only there. False and a message naming the
// record (1-based) otherwise.
bool CheckSpoolOrder(const SpoolJob& job, std::string* error);

// The same check over calls given one at a time, in file order, for readers
// that do not hold the whole job.
class SpoolOrderCheck {
public:
    void Add(SpoolCall call);
    bool Finish(std::string* error) const;

private:
    size_t count_ = 0;
    SpoolCall first_ = SpoolCall::End;
    SpoolCall last_ = SpoolCall::End;
    size_t misplaced_ = 0;  // 1-based record of the first StartDoc or EndDoc in the middle
    SpoolCall misplacedCall_ = SpoolCall::End;
};

// The checks of the file header: the first min(size, 8) bytes of the file.
bool CheckSpoolHeader(const uint8_t* data, size_t size, std::string* error);

// The checks of one record header, shared by every reader: false and the
// fault (without its offset) when a record of `call` with `length` bytes of
// data cannot stand where `remaining` bytes follow its header.
bool CheckSpoolRecordHeader(uint8_t call, uint32_t length, uint64_t remaining, std::string* fault);

// Through the system layer's files (Windows paths, or host paths natively).
bool WriteSpoolFile(sys::WStringView path, const SpoolJob& job, std::string* error);
bool ReadSpoolFile(sys::WStringView path, SpoolJob* job, std::string* error);
