// VLTtp.Dll, the stand-in of the test-page dialog: a named question of the
// answer script (setup_calls/call_answer.h); 13 asks the setup program for
// the device connection dialog, anything else goes on to the finish.
#include <string>

#include "../export.h"
#include "../setup_calls/call_answer.h"
#include "../setup_calls/record_text.h"
#include "formats/setup_libraries.h"

ZEBL_EXPORT int ZEBL_STDCALL SdTeatPagePrinting(InstallInfo record, int32_t deviceConnected) {
    return outside::AskCallNumber(
        "SdTeatPagePrinting",
        outside::DescribeRecord(record) + " connected=" + std::to_string(deviceConnected), 0);
}
