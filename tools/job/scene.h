// Scenes: a small line-based text description of a print job that `zebl
// compose` turns into a spool file. Settings lines set up the document (and
// change it between pages), `page` starts each page, and drawing lines put
// display-list records on the current page. The grammar is described in
// tools/README.md.
//
//   resolution 600
//   colour on
//   page
//   colour 200 0 0
//   box 10mm 10mm 50mm 20mm
//   text 10mm 40mm 4 "Hello"
//
// Any fault is reported with the line number ("line 7: box: missing height").
#pragma once

#include <string>
#include <string_view>

#include "job/spool_file.h"
#include "sys/text.h"

struct SceneOptions {
    // Where relative image file names are looked up (empty: the current folder).
    sys::WString baseFolder;
};

bool ComposeScene(std::string_view text, const SceneOptions& options, SpoolJob* job, std::string* error);
// Reads the scene file; image names are relative to its folder.
bool ComposeSceneFile(sys::WStringView path, SpoolJob* job, std::string* error);
