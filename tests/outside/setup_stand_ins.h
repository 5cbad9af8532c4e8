// Shared pieces of the tests of the setup program's stand-in libraries and
// programs, which the build puts into "bin" (support/library_paths.h).
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "formats/install_info.h"
#include "support/answer_script.h"
#include "support/library_paths.h"
#include "sys/modules.h"

namespace zebl_test {

// A stand-in library loaded by name for one test, freed afterwards.
class StandInLibrary {
public:
    explicit StandInLibrary(const char* fileName)
        : module_(sys::LoadLibrary(StandInFolder() + u"\\" + sys::Widen(fileName))) {}
    ~StandInLibrary() {
        if (module_ != nullptr) sys::FreeLibrary(module_);
    }
    StandInLibrary(const StandInLibrary&) = delete;
    StandInLibrary& operator=(const StandInLibrary&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    template <typename Function>
    Function Find(const char* name) const {
        return reinterpret_cast<Function>(sys::GetProcAddress(module_, name));
    }

private:
    sys::ModuleHandle module_;
};

template <size_t N>
void SetText(char (&field)[N], std::string_view text) {
    ASSERT_LT(text.size(), N);
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), text.size());
}

template <size_t N>
std::string RecordTextOf(const char (&field)[N]) {
    size_t length = 0;
    while (length < N && field[length] != 0) ++length;
    return std::string(field, length);
}

// A record whose fields near both ends and in the middle hold values no
// default has, so a callee that read it at other offsets would show others.
inline InstallInfo TelltaleRecord() {
    InstallInfo record{};
    record.hEtcDll = 0x11223344;
    record.nSetupMode = kSetupModeRepair;
    record.nOSVersion = 9;
    SetText(record.szManufacture, "Velora");
    SetText(record.szModelName, "VL-1200 Series");
    SetText(record.szProductName, "Velora VL-1200");
    SetText(record.szLanguage, "JP");
    SetText(record.pCompnet[0], "Driver");
    SetText(record.pCompnet[19], "Manual");
    SetText(record.pSelectionComponent[0], "Driver");
    SetText(record.pSelectionComponent[1], "Manual");
    SetText(record.szExeName, "SETUP.EXE");
    record.pfnRemoveHardwareWizardDialog = 0xCAFEF00D;
    return record;
}

// What DescribeRecord shows of TelltaleRecord, piece by piece.
inline std::vector<std::string> TelltaleDetails() {
    return {"mode=9",
            "os=9",
            "model=\"VL-1200 Series\"",
            "language=\"JP\"",
            "exe=\"SETUP.EXE\"",
            "components=\"Driver|Manual\"",
            "selection=\"Driver|Manual\"",
            "etc=0x11223344",
            "wizardfn=0xCAFEF00D"};
}

// The questions of the log with this name.
inline std::vector<AskedQuestion> QuestionsNamed(const AnswerScript& script, std::string_view name) {
    std::vector<AskedQuestion> named;
    for (const AskedQuestion& question : script.Questions())
        if (question.name == name) named.push_back(question);
    return named;
}

}  // namespace zebl_test
