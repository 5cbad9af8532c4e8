// Overlays: a recorded display list printed under every page of a document
// (a letterhead, a form). The overlay file is named in the settings record;
// a document either records it (creation mode, file missing) or prints with
// it (file present). Whether it does, and whether to ask the user first, is
// decided once when the document is set up.
#pragma once

#include <cstdint>

#include "pipeline/fb_interface.h"
#include "sys/text.h"

struct FBContext;

// True when the file opens for reading and writing without sharing. The
// file is closed again at once: the test never holds it.
bool fbFileExist(sys::WStringView path);

// Decides the overlay options of a document (options in/out):
//   creation mode (0x80): an existing file is used (0x200000), a missing
//     one is recorded (0x100000); 0x80 is cleared;
//   otherwise an existing file is used;
//   without an overlay file name every overlay option is dropped.
// Using it asks "use this overlay?" when the record says so (offset 828);
// anything but Yes drops the overlay. Recording asks "create it?"; anything
// but Yes returns 0: the document then neither records nor prints.
int FBFilterOverlayOption(FBContext* context, const FBInterface& record, uint32_t* options);
