// A dialog library for the start-up tests: loadable under every name of
// the five libraries and the autorun library, it answers the few routines
// Setup calls at start-up by asking the answer script, so the question log
// shows that they were called and with what.
#include <cstdint>
#include <cstdlib>
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

// The script's number for a dialog; 3 (leave setup) when it gives none.
int DialogNumber(const char* dialog, const std::string& detail) {
    const std::string answer = sys::AskQuestion(dialog, detail, "3");
    char* end = nullptr;
    const long number = std::strtol(answer.c_str(), &end, 10);
    return end != answer.c_str() && *end == '\0' ? static_cast<int>(number) : 3;
}
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

// The setup-type and maintenance dialogs, the autorun's among them.
TEST_EXPORT int ZEBL_STDCALL SdAutoRunDlg(InstallInfo info, int32_t maintenance) {
    return DialogNumber("SdAutoRunDlg", Text(info.szModelName, sizeof info.szModelName) +
                                            "|maintenance=" + std::to_string(maintenance));
}

TEST_EXPORT int ZEBL_STDCALL SdSetupType(InstallInfo info) {
    return DialogNumber("SdSetupType", Text(info.szModelName, sizeof info.szModelName));
}

TEST_EXPORT int ZEBL_STDCALL SdMaintenance(InstallInfo info) {
    return DialogNumber("SdMaintenance", Text(info.szModelName, sizeof info.szModelName));
}
