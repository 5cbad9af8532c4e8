// The output writer. Bytes are collected in one 4096-byte block and handed to
// WritePrinter a block at a time; writes of several blocks go out directly
// in whole blocks. For collated copies the job header, the pages and the job
// trailer are recorded in three temporary files while the job is sent
// (the trailer is only recorded), and at the end of the document the page
// part is sent again once per extra copy, then the trailer.
#include "pipeline/output_writer.h"

#include <cstring>

#include "sys/clock.h"
#include "sys/diagnostics.h"
#include "sys/last_error.h"
#include "sys/temp_files.h"

namespace {

constexpr uint32_t kFailureWaitMs = 100;
constexpr size_t kMaxDocInfoChars = 259;  // 260 with the terminating NUL
constexpr char16_t kRecordingPrefix[] = u"vlgspl";
constexpr char16_t kUnnamedDocument[] = u"Unknown";

void LogErrorText(uint32_t error) { sys::DebugPrintf("[FB]%s", sys::ErrorText(error).c_str()); }

// Waits as the spooler needs after a refused call, then logs why.
void WaitAndLog(uint32_t error) {
    sys::Sleep(kFailureWaitMs);
    LogErrorText(error);
}

// The writer loses its printer for the rest of the document. A printer the
// writer opened itself gets its open brackets ended and is closed; the
// spooler's own handle is the spooler's to end and close.
void DropPrinter(FBOut* out, bool endPage, bool endDoc) {
    if (out->mode == kOutOwnsPrinter && out->handle != nullptr) {
        if (endPage) sys::EndPagePrinter(out->handle);
        if (endDoc) sys::EndDocPrinter(out->handle);
        sys::ClosePrinter(out->handle);
    }
    out->handle = nullptr;
}

bool RetriesExhausted(const FBOut* out, uint32_t firstFailureTick) {
    // Acquire pairs with DrvSplAbort's release: nothing else is handed over,
    // but the flag's meaning ("the spooler is done with this job") is.
    if (out->aborted != nullptr && out->aborted->load(std::memory_order_acquire) != 0) return true;
    return sys::GetTickCount() - firstFailureTick >= out->retryLimitMs;
}

bool WriteOnce(FBOut* out, const uint8_t* data, uint32_t length) {
    uint32_t written = 0;
    return sys::WritePrinter(out->handle, data, length, &written);
}

// Sends one block. "Invalid parameter" is how a busy port answers, so that
// error is retried every 100 ms, but not for ever: after retryLimitMs of
// failures, or once the job is aborted, it counts like any other error,
// which ends the printer connection for the rest of the document.
int SendBlock(FBOut* out, const uint8_t* data, uint32_t length) {
    if (data == nullptr || length == 0) return 1;
    if (out->handle == nullptr) return 0;
    if (WriteOnce(out, data, length)) return 1;

    uint32_t error = sys::GetLastError();
    const uint32_t firstFailureTick = sys::GetTickCount();
    sys::Sleep(kFailureWaitMs);
    sys::DebugPrintf("[FB]write failed %d", static_cast<int>(error));
    while (error == sys::kErrorInvalidParameter) {
        if (RetriesExhausted(out, firstFailureTick)) {
            sys::OutputDebugString("[FB]write retries given up");
            break;
        }
        if (WriteOnce(out, data, length)) {
            sys::OutputDebugString("[FB]retry success");
            return 1;
        }
        error = sys::GetLastError();
        sys::Sleep(kFailureWaitMs);
        sys::DebugPrintf("[FB]write failed %d", static_cast<int>(error));
    }
    LogErrorText(error);
    DropPrinter(out, true, true);
    return 0;
}

// Appends to the block and sends every block that fills up.
int Buffer(FBOut* out, const uint8_t* data, uint32_t length) {
    const uint32_t room = kFBOutBlockSize - out->fill;
    if (length < room) {
        std::memcpy(out->buffer + out->fill, data, length);
        out->fill += length;
        return 1;
    }
    std::memcpy(out->buffer + out->fill, data, room);
    out->fill = 0;
    if (!SendBlock(out, out->buffer, kFBOutBlockSize)) return 0;
    data += room;
    length -= room;
    for (; length >= kFBOutBlockSize; data += kFBOutBlockSize, length -= kFBOutBlockSize) {
        if (!SendBlock(out, data, kFBOutBlockSize)) return 0;
    }
    std::memcpy(out->buffer, data, length);
    out->fill = length;
    return 1;
}

void CloseRecording(FBOutRecording* recording) {
    recording->file.Close();
    if (!recording->name.empty()) sys::DeleteFile(recording->name);
    recording->name.clear();
    recording->length = 0;
}

void CloseRecordings(FBOut* out) {
    CloseRecording(&out->headerFile);
    CloseRecording(&out->trailerFile);
    CloseRecording(&out->pageFile);
    out->recordingCreated = false;
    out->recording = false;
}

bool CreateRecording(const sys::WString& folder, FBOutRecording* recording) {
    recording->name = sys::GetTempFileName(folder, kRecordingPrefix);
    if (recording->name.empty()) return false;
    recording->file = sys::File::CreateAlways(recording->name, sys::Share::None);
    recording->length = 0;
    return recording->file.IsOpen();
}

// Sends a recording's content again through the writer, 4096 bytes a read.
int ReplayRecording(FBOut* out, FBOutRecording* recording) {
    if (!recording->file.Seek(0, sys::SeekOrigin::Begin)) return 0;
    uint8_t chunk[kFBOutBlockSize];
    for (uint64_t left = recording->length; left > 0;) {
        const uint32_t want = left < kFBOutBlockSize ? static_cast<uint32_t>(left) : kFBOutBlockSize;
        uint32_t got = 0;
        if (!recording->file.Read(chunk, want, &got) || got == 0) return 0;
        if (!FBOutWrite(out, chunk, got, kStreamReplay)) return 0;
        left -= got;
    }
    return 1;
}

// A recording file refused a write: stop recording. Whatever part of the
// trailer was recorded only is sent now, so the trailer stays whole and in
// order; the job then carries one copy.
void AbandonRecording(FBOut* out) {
    sys::DebugPrintf("[FB]copy recording failed %d", static_cast<int>(sys::GetLastError()));
    out->recording = false;
    out->recordingBroken = true;
    ReplayRecording(out, &out->trailerFile);
}

bool Record(FBOut* out, FBOutRecording* recording, const void* data, uint32_t length) {
    uint32_t written = 0;
    if (!recording->file.Write(data, length, &written) || written != length) {
        // Drop a partial record so a replay never sends half of it.
        recording->file.Seek(static_cast<int64_t>(recording->length), sys::SeekOrigin::Begin);
        AbandonRecording(out);
        return false;
    }
    recording->length += length;
    return true;
}

}  // namespace

int FBOutSetDocinfo(FBOut* out, sys::WStringView docName, sys::WStringView outputFile,
                    sys::WStringView dataType) {
    if (out == nullptr) return 0;
    out->docName = sys::WString(docName.substr(0, kMaxDocInfoChars));
    out->outputFile = sys::WString(outputFile.substr(0, kMaxDocInfoChars));
    out->dataType = sys::WString(dataType.substr(0, kMaxDocInfoChars));
    return 1;
}

int FBOutOpen(FBOut* out, sys::WStringView printerName, sys::PrinterHandle printer) {
    if (out == nullptr) return 0;
    out->pageCounter = 0;
    out->fill = 0;
    if (printer != nullptr) {
        out->mode = kOutSpoolerHandle;
        out->handle = printer;
        return 1;
    }
    out->mode = kOutOwnsPrinter;
    out->handle = sys::OpenPrinter(printerName);
    if (out->handle == nullptr) LogErrorText(sys::GetLastError());
    return 1;
}

int FBOutStartDoc(FBOut* out) {
    if (out == nullptr) return 0;
    if (out->mode != kOutOwnsPrinter) return out->mode == kOutSpoolerHandle;
    if (out->handle == nullptr) return 0;
    const sys::WStringView name =
        out->docName.empty() ? sys::WStringView(kUnnamedDocument) : sys::WStringView(out->docName);
    if (sys::StartDocPrinter(out->handle, name, out->outputFile, out->dataType) != 0) return 1;
    WaitAndLog(sys::GetLastError());
    DropPrinter(out, false, false);
    return 0;
}

int FBOutStartPage(FBOut* out) {
    if (out == nullptr) return 0;
    ++out->pageCounter;
    if (out->mode != kOutOwnsPrinter) return 1;
    if (out->handle == nullptr) return 0;
    if (sys::StartPagePrinter(out->handle)) return 1;
    WaitAndLog(sys::GetLastError());
    DropPrinter(out, false, true);
    return 0;
}

int FBOutEndPage(FBOut* out) {
    if (out == nullptr) return 0;
    const int flushed = FBOutFlush(out);
    if (out->mode != kOutOwnsPrinter) return flushed;
    if (out->handle == nullptr) return 0;
    if (sys::EndPagePrinter(out->handle)) return flushed;
    WaitAndLog(sys::GetLastError());
    DropPrinter(out, false, true);
    return 0;
}

int FBOutWrite(FBOut* out, const void* data, uint32_t length, uint32_t stream) {
    if (out == nullptr || data == nullptr || length == 0 || out->handle == nullptr) return 0;
    if (out->recording) {
        switch (stream) {
            case kStreamJobHeader: Record(out, &out->headerFile, data, length); break;
            case kStreamPage: Record(out, &out->pageFile, data, length); break;
            case kStreamJobTrailer:
                // Recorded only; it follows the copies. If the recording just
                // broke, the trailer is sent now instead.
                if (Record(out, &out->trailerFile, data, length)) return 1;
                break;
            default: break;
        }
    }
    return Buffer(out, static_cast<const uint8_t*>(data), length);
}

int FBOutFlush(FBOut* out) {
    if (out == nullptr) return 0;
    const uint32_t pending = out->fill;
    out->fill = 0;
    return SendBlock(out, out->buffer, pending);
}

int FBOutInitializeJobSpool(FBOut* out) {
    if (out == nullptr) return 0;
    if (out->recordingCreated) return 1;
    const sys::WString folder = sys::GetTempPath();
    const bool created = !folder.empty() && CreateRecording(folder, &out->headerFile) &&
                         CreateRecording(folder, &out->trailerFile) &&
                         CreateRecording(folder, &out->pageFile);
    if (!created) {
        // Without all three files there is nothing to replay: one copy.
        sys::DebugPrintf("[FB]no copy recording, error %d", static_cast<int>(sys::GetLastError()));
        CloseRecordings(out);
        return 0;
    }
    out->recordingCreated = true;
    out->recordingBroken = false;
    out->replayed = false;
    out->recording = true;
    return 1;
}

int FBOutPlayJobSpool(FBOut* out) {
    if (out == nullptr) return 0;
    const bool replay = out->recordingCreated && !out->recordingBroken && !out->replayed;
    out->recording = false;
    if (!replay) return 1;
    out->replayed = true;
    int ok = 1;
    for (uint32_t copy = 0; ok && copy < out->copyRepeatCount; ++copy)
        ok = ReplayRecording(out, &out->pageFile);
    // The trailer was only recorded, so it goes out whatever became of the
    // copies.
    ok = ReplayRecording(out, &out->trailerFile) && ok;
    return FBOutFlush(out) && ok;
}

int FBOutEndDoc(FBOut* out) {
    if (out == nullptr) return 0;
    int ok = FBOutFlush(out);
    ok = FBOutPlayJobSpool(out) && ok;
    ok = FBOutFlush(out) && ok;
    if (out->mode != kOutOwnsPrinter) return ok;
    if (out->handle == nullptr) return 0;
    if (sys::EndDocPrinter(out->handle)) return ok;
    WaitAndLog(sys::GetLastError());
    DropPrinter(out, false, false);
    return 0;
}

int FBOutClose(FBOut* out) {
    if (out == nullptr) return 0;
    CloseRecordings(out);
    if (out->mode == kOutOwnsPrinter && out->handle != nullptr && !sys::ClosePrinter(out->handle))
        LogErrorText(sys::GetLastError());
    out->handle = nullptr;
    return 1;
}
