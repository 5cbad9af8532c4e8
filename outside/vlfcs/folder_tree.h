// Whole folders copied and deleted through the system layer, for the file
// copy of VLFcs.Dll. Each step that fails is skipped and the rest still
// done; the result says whether every step succeeded.
#pragma once

#include "sys/text.h"

namespace outside {

// Creates `folder` and every missing folder above it.
bool CreateFolderPath(sys::WStringView folder);

// Copies every file and folder below `from` into `to` (created when
// missing), replacing files that are there, read-only ones included. Folders
// nested deeper than a package's components ever are (16 levels) are refused.
bool CopyFolderTree(const sys::WString& from, const sys::WString& to);

// Deletes `folder` with everything in it; a folder that is not there counts
// as deleted.
bool DeleteFolderTree(const sys::WString& folder);

}  // namespace outside
