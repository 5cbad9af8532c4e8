// Recording documents: a document that makes an overlay or a watermark file
// instead of printing. Its display list, every page with the scale command
// that starts it, goes into the file as recorded data (records of length,
// tag and bytes; job_spool.h); the printer receives nothing.
#pragma once

#include "pipeline/fb_interface.h"

struct FBContext;

// Starts recording the overlay file named in the record (created anew).
// 0 when the file cannot be created: the document then prints nothing.
int FBInitializeCreateOverlay(FBContext* context, const FBInterface& record);

// Starts recording the watermark file of the record's orientation (the
// landscape file when offset 84 is 1, else the portrait one). 0 when there
// is no such file name or the file cannot be created.
int FBInitializeCreateWatermark(FBContext* context, const FBInterface& record);

// Whether the document records instead of printing.
bool FBIsRecording(const FBContext* context);

// Moves what the document's list holds into the recording file.
int FBRecordEndedPage(FBContext* context);

// Records what is left and closes the file.
int FBEndRecording(FBContext* context);
