#include "pipeline/watermark_paths.h"

#include <algorithm>

#include "pipeline/own_module.h"

namespace {

// A cut path could name some other file: one that does not fit is dropped.
void CopyPath(char16_t (&target)[kFBSettingsPathUnits], const sys::WString& path) {
    std::fill(std::begin(target), std::end(target), u'\0');
    if (path.size() < kFBSettingsPathUnits) std::copy(path.begin(), path.end(), target);
}

}  // namespace

int FBSettingsSetWatermarkPaths(FBSettings* settings) {
    if (settings == nullptr) return 0;
    sys::WString portrait, landscape;
    const int found = fbStrGetWMFileNameP(&portrait) & fbStrGetWMFileNameL(&landscape);
    CopyPath(settings->portraitWatermarkPath, portrait);
    CopyPath(settings->landscapeWatermarkPath, landscape);
    return found;
}
