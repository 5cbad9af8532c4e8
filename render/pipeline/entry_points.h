// The spooler's entry points into the rendering library. The spooler replays
// a spooled document through the seven DrvSpl exports: a sequence of
// buffers, each either a 1676-byte settings record or a 32-bit tag followed
// by a piece of display list. This layer splits that stream into document
// start, page start, data, page end and document end for the frame-buffer
// manager (the DrvFB operations).
//
// One document, as the spooler drives it:
//   DrvSplStartDoc
//   DrvSplWritePrinter   settings record, command flags 0x4 (start of document)
//   per page:  DrvSplStartPage
//              DrvSplWritePrinter   settings record, command flags exactly 0x8000
//              DrvSplWritePrinter   tag + display list, any number
//              DrvSplEndPage
//   DrvSplEndDoc, DrvSplClose
//
// Every buffer comes from a spool file, so nothing in it is trusted: a
// record with other command flags is ignored, data before any start of
// document is refused, and a handle that is not one of ours does nothing.
//
// Handles: DrvSplStartDoc records every handle it gives out in a
// process-wide list of live handles, and DrvSplClose takes it out before
// freeing it. Every entry point looks the handle up in that list before it
// touches it, so a closed handle, a foreign pointer or null is refused
// without reading memory that may be freed or not ours. The spooler drives
// one document on one thread, but DrvSplAbort may come from another thread
// while the document's thread waits on a busy printer: the list is guarded
// by a lock, and the abort request is an atomic flag in the handle, which
// lives until DrvSplClose.
#pragma once

#include <atomic>
#include <cstdint>

#include "pipeline/fb_context.h"
#include "sys/modules.h"
#include "sys/spooler.h"

// "GSRD" read as a little-endian 32-bit number.
constexpr uint32_t kSplHandleMagic = 0x44525347;

enum SplHandleState : uint32_t {
    kSplCreated = 0x1,
    kSplEnded = 0x2,
    kSplAborted = 0x4,
};

// The handle the spooler holds for one document.
struct SplHandle {
    uint32_t magic = kSplHandleMagic;      // marks the record in a memory dump
    sys::PrinterHandle printer = nullptr;  // the spooler's
    uint32_t jobId = 0;
    // SplHandleState bits; DrvSplAbort sets one from another thread.
    std::atomic<uint32_t> state{kSplCreated};
    uint32_t calls = 0;  // WritePrinter, StartPage and EndPage calls
    uint32_t pages = 0;  // EndPage calls
    // Set by DrvSplAbort; the document's output writer reads it while it
    // retries a busy printer, and then gives up.
    std::atomic<uint32_t> abortRequested{0};
    // The document's context. Each handle reaches its own, never a
    // process-wide one, so that two documents printing at once in one
    // spooler process (a print server) cannot take each other's.
    FBContext* prFB = nullptr;
};

// Last-operation codes of the DrvFB operations (FBContext::lastOperation).
enum DrvFBOperation : uint32_t {
    kDrvFBStartDoc = 1,
    kDrvFBEndDoc = 2,
    kDrvFBStartPage = 3,
    kDrvFBEndPage = 4,
    kDrvFBWritePrinter = 6,
};

// ---- The frame-buffer interface ------------------------------------------------

// A new document context: a copy of the record, the document name ("Unknown"
// when none is given), the record's port name and the printer. Null when
// memory runs out.
FBContext* DrvFBStartDoc(sys::PrinterHandle printer, const char16_t* docName, const FBInterface& record);
// A start-of-page record: adapts the document (or sets it up, at the first
// page), then takes the record as the document's settings. Null for a null
// context, else the context.
FBContext* DrvFBStartPage(FBContext* context, FBInterface* record);
// A piece of display list; nothing (and success) for an empty one. 0 for a
// null context or when the page cannot take it.
int DrvFBWritePrinter(FBContext* context, uint32_t length, uint32_t tag, const void* data);
// The end of a page (the document is set up here if no start-of-page record
// came). Null for a null context, else the context.
FBContext* DrvFBEndPage(FBContext* context);
// Ends the document and frees the context. 0 for a null context.
int DrvFBEndDoc(FBContext* context);

// The printer and port names of the spooler's printer (GetPrinterW level 2).
// 1, or 0 (names untouched) when the spooler cannot tell.
int MyGetPrinter(sys::PrinterHandle printer, sys::PrinterNames* names);

// ---- The exports -----------------------------------------------------------------
extern "C" {
void* ZEBL_STDCALL DrvSplStartDoc(void* hPrinter, uint32_t jobId);
int ZEBL_STDCALL DrvSplWritePrinter(void* hDriver, void* pBuf, uint32_t cbBuf, uint32_t* pcWritten);
int ZEBL_STDCALL DrvSplStartPage(void* hDriver);
int ZEBL_STDCALL DrvSplEndPage(void* hDriver);
int ZEBL_STDCALL DrvSplEndDoc(void* hDriver);
int ZEBL_STDCALL DrvSplAbort(void* hDriver);
void ZEBL_STDCALL DrvSplClose(void* hDriver);
}
