#include "pipeline/entry_points.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "pipeline/debug_output.h"
#include "sys/mutex.h"

namespace {

constexpr char16_t kUnknownDocument[] = u"Unknown";

static_assert(std::atomic<uint32_t>::is_always_lock_free,
              "the abort flag is read inside the writer's retry loop and set from another thread");

// The handles given out and not yet closed. A handle is only ever compared
// with the entries, never read, until it is found among them. Spooler
// threads of several documents call in at once, so every use holds the lock.
class LiveHandles {
public:
    bool Add(SplHandle* handle) {
        sys::MutexLock lock(mutex_);
        try {
            handles_.push_back(handle);
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }

    // Takes the handle out; false when it was not in (closed, or not ours).
    bool Remove(const void* handle) {
        sys::MutexLock lock(mutex_);
        const auto found = Position(handle);
        if (found == handles_.end()) return false;
        *found = handles_.back();
        handles_.pop_back();
        return true;
    }

    SplHandle* Find(const void* handle) {
        sys::MutexLock lock(mutex_);
        const auto found = Position(handle);
        return found == handles_.end() ? nullptr : *found;
    }

    // Sets the handle's abort request under the lock, so that DrvSplClose
    // on the document's thread cannot free the handle meanwhile.
    bool RequestAbort(const void* handle) {
        sys::MutexLock lock(mutex_);
        const auto found = Position(handle);
        if (found == handles_.end()) return false;
        (*found)->state.fetch_or(kSplAborted, std::memory_order_relaxed);
        (*found)->abortRequested.store(1, std::memory_order_release);
        return true;
    }

private:
    std::vector<SplHandle*>::iterator Position(const void* handle) {
        return std::find(handles_.begin(), handles_.end(), handle);
    }

    sys::Mutex mutex_;
    std::vector<SplHandle*> handles_;
};

// Made when the library loads, before any spooler thread can call in.
LiveHandles g_liveHandles;

LiveHandles& Live() { return g_liveHandles; }

// The handle behind a spooler's driver handle, or null when it is not one
// of ours (never given out, or closed).
SplHandle* FromDriverHandle(void* hDriver) { return Live().Find(hDriver); }

// The start-of-document record: the printer's real names replace what the
// driver wrote, then the document's context is made. Another start of
// document for a handle that has one is ignored: the document in hand goes
// on, and nothing is leaked. A handle serves one document: after its end a
// start of document is refused, since a second job would follow the first
// one's trailer in the same spooler document.
int StartDocument(SplHandle* handle, FBInterface* record, uint32_t flags) {
    if (handle->state & kSplEnded) {
        OutputDebugPrintf("[FB]start of document after the document's end refused\n");
        return 0;
    }
    if (handle->prFB == nullptr) {
        sys::PrinterNames names;
        if (MyGetPrinter(handle->printer, &names)) {
            record->SetString(kFBIPortName, names.portName);
            record->SetString(kFBIPrinterName, names.printerName);
        }
        handle->prFB = DrvFBStartDoc(handle->printer, nullptr, *record);
        if (handle->prFB) handle->prFB->abortRequested = &handle->abortRequested;
    } else {
        OutputDebugPrintf("[FB]second start of document ignored\n");
    }
    return handle->prFB != nullptr && !(flags & kFBICmdStartDocFails);
}

int WriteSettingsRecord(SplHandle* handle, const void* buffer) {
    std::unique_ptr<FBInterface> record(new (std::nothrow) FBInterface());
    if (!record) return 0;
    FBInterfaceFromBytes(record.get(), buffer, kFBInterfaceSize);
    const uint32_t flags = record->UInt(kFBICommandFlags);
    if (flags & kFBICmdStartDoc) return StartDocument(handle, record.get(), flags);
    if (flags == kFBICmdStartPage) return DrvFBStartPage(handle->prFB, record.get()) != nullptr;
    return 1;
}

}  // namespace

int MyGetPrinter(sys::PrinterHandle printer, sys::PrinterNames* names) {
    if (printer == nullptr || names == nullptr) return 0;
    sys::PrinterNames found;
    if (!sys::GetPrinterNames(printer, &found)) return 0;
    *names = std::move(found);
    return 1;
}

FBContext* DrvFBStartDoc(sys::PrinterHandle printer, const char16_t* docName, const FBInterface& record) {
    std::unique_ptr<FBContext> context(new (std::nothrow) FBContext());
    if (!context) return nullptr;
    context->record.reset(new (std::nothrow) FBInterface(record));
    if (!context->record) return nullptr;
    context->docName = docName && *docName ? sys::WString(docName) : sys::WString(kUnknownDocument);
    context->portName = record.String(kFBIPortName);
    context->printer = printer;
    // A document begins with a page: its first data gets the scale command
    // even when no start-of-page record comes.
    context->newPage = true;
    context->lastOperation = kDrvFBStartDoc;
    return context.release();
}

FBContext* DrvFBStartPage(FBContext* context, FBInterface* record) {
    if (context == nullptr || record == nullptr) return nullptr;
    if (context->initialised) FBReset(context, *context->record, record);
    // The record carries this page's settings, the first page's included.
    *context->record = *record;
    if (!context->initialised) {
        FBInitialize(context, *context->record, context->docName, context->printer);
        FBStartDoc(context);
        context->initialised = true;
    }
    FBStartPage(context);
    context->lastOperation = kDrvFBStartPage;
    return context;
}

int DrvFBWritePrinter(FBContext* context, uint32_t length, uint32_t tag, const void* data) {
    if (context == nullptr) return 0;
    int ok = 1;
    if (data != nullptr && length != 0) ok = FBWritePrinter(context, length, tag, data);
    context->lastOperation = kDrvFBWritePrinter;
    return ok;
}

FBContext* DrvFBEndPage(FBContext* context) {
    if (context == nullptr) return nullptr;
    if (!context->initialised) {
        FBInitialize(context, *context->record, context->docName, context->printer);
        FBStartDoc(context);
        FBStartPage(context);
        context->initialised = true;
    }
    FBEndPage(context);
    context->lastOperation = kDrvFBEndPage;
    return context;
}

int DrvFBEndDoc(FBContext* context) {
    if (context == nullptr) return 0;
    FBEndDoc(context);
    context->lastOperation = kDrvFBEndDoc;
    FBDestroy(context);
    delete context;
    return 1;
}

extern "C" {

void* ZEBL_STDCALL DrvSplStartDoc(void* hPrinter, uint32_t jobId) {
    auto* handle = new (std::nothrow) SplHandle();
    if (handle == nullptr) return nullptr;
    handle->printer = hPrinter;
    handle->jobId = jobId;
    if (!Live().Add(handle)) {
        delete handle;
        return nullptr;
    }
    return handle;
}

int ZEBL_STDCALL DrvSplWritePrinter(void* hDriver, void* pBuf, uint32_t cbBuf, uint32_t* pcWritten) {
    SplHandle* handle = FromDriverHandle(hDriver);
    if (handle == nullptr) return 0;
    ++handle->calls;
    if (cbBuf == kFBInterfaceSize) {
        if (pcWritten) *pcWritten = kFBInterfaceSize;
        return pBuf != nullptr && WriteSettingsRecord(handle, pBuf);
    }
    // Any other buffer is a tag and a piece of display list; a buffer too
    // short for the tag carries nothing that can be read.
    if (pBuf == nullptr || cbBuf < 4) return 0;
    const uint8_t* bytes = static_cast<const uint8_t*>(pBuf);
    const uint32_t tag =
        uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
    if (!DrvFBWritePrinter(handle->prFB, cbBuf - 4, tag, bytes + 4)) return 0;
    if (pcWritten) *pcWritten = cbBuf;
    return 1;
}

int ZEBL_STDCALL DrvSplStartPage(void* hDriver) {
    SplHandle* handle = FromDriverHandle(hDriver);
    if (handle == nullptr) return 0;
    ++handle->calls;
    return 1;
}

int ZEBL_STDCALL DrvSplEndPage(void* hDriver) {
    SplHandle* handle = FromDriverHandle(hDriver);
    if (handle == nullptr) return 0;
    ++handle->pages;
    ++handle->calls;
    return DrvFBEndPage(handle->prFB) != nullptr;
}

int ZEBL_STDCALL DrvSplEndDoc(void* hDriver) {
    SplHandle* handle = FromDriverHandle(hDriver);
    if (handle == nullptr) return 0;
    const int ended = DrvFBEndDoc(handle->prFB);
    handle->prFB = nullptr;
    handle->state.fetch_or(kSplEnded, std::memory_order_relaxed);
    return ended;
}

// May come from another thread than the document's: it only sets the
// handle's flags, never touches the document's context.
int ZEBL_STDCALL DrvSplAbort(void* hDriver) { return Live().RequestAbort(hDriver) ? 1 : 0; }

void ZEBL_STDCALL DrvSplClose(void* hDriver) {
    if (!Live().Remove(hDriver)) return;
    auto* handle = static_cast<SplHandle*>(hDriver);
    // A document the spooler never ended is dropped here: what it held is
    // freed and nothing more is sent.
    if (handle->prFB) {
        FBDestroy(handle->prFB);
        delete handle->prFB;
    }
    delete handle;
}

}  // extern "C"
