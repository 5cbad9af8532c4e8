// A dialog library for the start-up tests: loadable under every name of
// the five libraries and the autorun library, it answers the few routines
// Setup calls at start-up by asking the answer script, so the question log
// shows that they were called and with what.
#include <cstring>
#include <string>

#include "formats/calling_convention.h"
#include "formats/install_info.h"
#include "sys/answer_script.h"

#if defined(_WIN32)
#define TEST_EXPORT extern "C"
#else
#define TEST_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {
std::string Text(const char* text, size_t size) { return std::string(text, strnlen(text, size)); }
}  // namespace

// The record arrives by value: its model and Plug and Play id as Setup
// wrote them.
TEST_EXPORT InstallInfoToken ZEBL_STDCALL SdBackGourndImage(InstallInfo info) {
    sys::AskQuestion(
        "SdBackGourndImage",
        Text(info.szModelName, sizeof info.szModelName) + "|" + Text(info.szPnpId, sizeof info.szPnpId), "0");
    return 0;
}

TEST_EXPORT void ZEBL_STDCALL StartPreventPnP(char* pnpId) {
    sys::AskQuestion("StartPreventPnP", Text(pnpId, kInstallInfoText), "");
}

TEST_EXPORT void ZEBL_STDCALL EndPreventPnP(char* pnpId) {
    sys::AskQuestion("EndPreventPnP", Text(pnpId, kInstallInfoText), "");
}
