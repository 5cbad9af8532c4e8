// The watermark files a document prints with (option 0x40): one for
// portrait and one for landscape pages, in the system folder, named by the
// library's model base (own_module.h).
#pragma once

#include "pipeline/fb_records.h"

// Puts both watermark paths into the settings summary; a path that does not
// fit it is left empty. 0 when the system folder is unknown.
int FBSettingsSetWatermarkPaths(FBSettings* settings);
