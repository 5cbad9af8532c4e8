// The output writer: every byte the library sends to the printer goes through
// one FBOut per document. It collects the stream in 4096-byte blocks for
// WritePrinter, keeps the spooler's document and page brackets when it opened
// the printer itself, and records the job while it is sent so that collated
// copies can be replayed before the job trailer.
#pragma once

#include <atomic>
#include <cstdint>

#include "sys/files.h"
#include "sys/spooler.h"
#include "sys/text.h"

// Stream numbers: which part of the job a write belongs to.
enum FBOutStream : uint32_t {
    kStreamReplay = 0,      // replayed copy data
    kStreamJobHeader = 1,   // recorded to the header file
    kStreamJobTrailer = 2,  // recorded only, sent after the copies
    kStreamPage = 3,        // recorded to the page file
};

enum FBOutMode : uint32_t {
    kOutNotOpened = 0,
    kOutOwnsPrinter = 1,    // opened by name; the writer keeps the brackets
    kOutSpoolerHandle = 2,  // the spooler's handle; the spooler keeps them
};

constexpr uint32_t kFBOutBlockSize = 4096;

struct FBOutRecording {
    sys::File file;
    sys::WString name;
    uint64_t length = 0;  // bytes recorded whole; a failed write adds nothing
};

struct FBOut {
    uint8_t buffer[kFBOutBlockSize] = {};
    uint32_t fill = 0;
    sys::PrinterHandle handle = nullptr;
    uint32_t mode = kOutNotOpened;
    sys::WString docName;
    sys::WString outputFile;
    sys::WString dataType;
    uint32_t pageCounter = 0;
    uint32_t copyRepeatCount = 0;
    FBOutRecording headerFile;   // stream 1
    FBOutRecording trailerFile;  // stream 2
    FBOutRecording pageFile;     // stream 3
    bool recordingCreated = false;
    bool recording = false;
    // A recording file that failed a write ends the recording: the job then
    // carries one copy, and the trailer goes out directly.
    bool recordingBroken = false;
    bool replayed = false;  // the copies went out; never twice

    // A port that keeps answering "invalid parameter" would hold the spooler
    // thread forever; the writer gives up after this long of failed retries
    // of one block, or at once when *aborted becomes non-zero (the spooler
    // aborts the job from another thread while this one waits; null when
    // nobody can abort).
    uint32_t retryLimitMs = 10 * 60 * 1000;
    const std::atomic<uint32_t>* aborted = nullptr;
};

int FBOutSetDocinfo(FBOut* out, sys::WStringView docName, sys::WStringView outputFile,
                    sys::WStringView dataType);
int FBOutOpen(FBOut* out, sys::WStringView printerName, sys::PrinterHandle printer);
int FBOutStartDoc(FBOut* out);
int FBOutStartPage(FBOut* out);
int FBOutEndPage(FBOut* out);
int FBOutWrite(FBOut* out, const void* data, uint32_t length, uint32_t stream);
int FBOutFlush(FBOut* out);
int FBOutInitializeJobSpool(FBOut* out);
int FBOutPlayJobSpool(FBOut* out);
int FBOutEndDoc(FBOut* out);
int FBOutClose(FBOut* out);
