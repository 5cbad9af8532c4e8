#include "pipeline/recording.h"

#include <memory>
#include <new>

#include "pipeline/debug_output.h"
#include "pipeline/fb_context.h"
#include "pipeline/own_module.h"

namespace {

// A list with headers for the recording; data that came before the
// document was set up (a first page without a settings record) is kept.
std::unique_ptr<FBCmdList> RecordingList(const FBCmdList* earlier) {
    std::unique_ptr<FBCmdList> list(new (std::nothrow) FBCmdList());
    if (!list) return nullptr;
    FBCmdListInit(list.get(), kCmdWithHeaders);
    if (earlier != nullptr) {
        for (const FBCmdPiece& piece : FBCmdListPieces(earlier)) {
            if (!FBCmdListAddData(list.get(), piece.data, piece.length, piece.tag)) return nullptr;
        }
    }
    return list;
}

int StartRecording(FBContext* context, const sys::WString& file) {
    if (file.empty()) return 0;
    std::unique_ptr<FBJobSpool> spool(new (std::nothrow) FBJobSpool());
    if (!spool || !FBJobSpoolInit(spool.get(), file)) {
        OutputDebugPrintf("[FB]recording file cannot be created\n");
        return 0;
    }
    std::unique_ptr<FBCmdList> list = RecordingList(context->cmdList.get());
    if (!list) return 0;
    context->jobSpool = std::move(spool);
    context->cmdList = std::move(list);
    return 1;
}

}  // namespace

int FBInitializeCreateOverlay(FBContext* context, const FBInterface& record) {
    if (context == nullptr) return 0;
    return StartRecording(context, record.String(kFBIOverlayPath));
}

int FBInitializeCreateWatermark(FBContext* context, const FBInterface& record) {
    if (context == nullptr) return 0;
    sys::WString file;
    const bool landscape = record.Int(kFBIOrientation) == 1;
    if (!(landscape ? fbStrGetWMFileNameL(&file) : fbStrGetWMFileNameP(&file))) return 0;
    return StartRecording(context, file);
}

bool FBIsRecording(const FBContext* context) { return context != nullptr && context->jobSpool != nullptr; }

int FBRecordEndedPage(FBContext* context) {
    if (!FBIsRecording(context) || !context->cmdList) return 0;
    const int written = FBJobSpoolAddDataFromCmdBuffer(context->jobSpool.get(), context->cmdList.get());
    FBCmdListDelete(context->cmdList.get());
    return written;
}

int FBEndRecording(FBContext* context) {
    if (!FBIsRecording(context)) return 0;
    const int written = FBRecordEndedPage(context);
    context->jobSpool.reset();  // closes the file
    return written;
}
