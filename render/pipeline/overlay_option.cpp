#include "pipeline/overlay_option.h"

#include "pipeline/driver_strings.h"
#include "sys/files.h"
#include "sys/message_box.h"

namespace {

constexpr uint32_t kQuestionStyle = sys::kMbYesNo | sys::kMbIconQuestion | sys::kMbSetForeground;

bool UserSaysYes(sys::WStringView text, sys::WStringView caption) {
    return sys::MessageBox(text, caption, kQuestionStyle) == sys::kIdYes;
}

bool AskToUse(const sys::WString& path) {
    sys::WString caption;
    DAT_GetOverlayLoadSTR(&caption);
    return UserSaysYes(path, caption);
}

bool AskToCreate(const sys::WString& path) {
    sys::WString caption, question;
    DAT_GetOverlayCreateSTR(&caption);
    DAT_GetOverlayCreateSTR1(&question);
    return UserSaysYes(question + u"\n" + path, caption);
}

}  // namespace

bool fbFileExist(sys::WStringView path) {
    if (path.empty()) return false;
    const sys::File file = sys::File::OpenExisting(path, /*writable=*/true, sys::Share::None);
    return file.IsOpen();
}

int FBFilterOverlayOption(FBContext* /*context*/, const FBInterface& record, uint32_t* options) {
    if (options == nullptr) return 0;
    uint32_t o = *options;
    const sys::WString path = record.String(kFBIOverlayPath);
    if (path.empty()) {
        // Without a file there is nothing to record or to print with.
        o &= ~(kDocOptOverlayCreate | kDocOptRecordOverlay | kDocOptUseOverlay);
    } else {
        const bool exists = fbFileExist(path);
        if (o & kDocOptOverlayCreate) {
            o |= exists ? kDocOptUseOverlay : kDocOptRecordOverlay;
            o &= ~kDocOptOverlayCreate;
        } else if (exists) {
            o |= kDocOptUseOverlay;
        }
    }
    if ((o & kDocOptUseOverlay) && record.Int(kFBIAskBeforeOverlay) != 0 && !AskToUse(path)) {
        o &= ~kDocOptUseOverlay;
    }
    *options = o;
    if ((o & kDocOptRecordOverlay) && !AskToCreate(path)) return 0;
    return 1;
}
