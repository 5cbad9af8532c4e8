// The driver strings of the overlay prompts, read through the utilities
// module from its section "Driver Data"; each has a built-in default that
// stays when the module or the key is missing.
#pragma once

#include "sys/text.h"

// Each loads the utilities module, asks for one string and releases the
// module. 1 when the module answered, 0 when *out holds the default.
int DAT_GetOverlayCreateSTR(sys::WString* out);   // "OVERLAYCREATE_STR", "Create Overlay"
int DAT_GetOverlayCreateSTR1(sys::WString* out);  // "OVERLAYCREATE_STR1", the create question
int DAT_GetOverlayLoadSTR(sys::WString* out);     // "OVERLAYLOAD_STR", "Download New Page Overlay"
