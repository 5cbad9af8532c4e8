// VLEtc.Dll, the stand-in of the setup dialogs: each dialog is a named
// question of the answer script (setup_calls/call_answer.h lists them and
// what an unanswered one gives), so a test or an unattended run walks the
// procedures by script. The dialogs that get the record's address change it
// as a user would: the component dialogs take a new selection, the language
// dialog a new language.
#include <string>

#include "../export.h"
#include "../setup_calls/call_answer.h"
#include "../setup_calls/record_text.h"
#include "formats/setup_libraries.h"

namespace {

using outside::AskCall;
using outside::AskCallNumber;
using outside::DescribeRecord;

// Numbers that an unanswered dialog gives: the choice a user who only
// presses Next would make.
enum : int32_t {
    kGoOn = 0,
    kLeaveSetup = 4,  // SdCancel: the user confirms leaving
    kDeviceGoOn = 5,
    kAutomaticInstall = 6,
    kRepair = 9,
};

// Replaces the selection with the answered names that are components of the
// record, packed from slot 0; names it does not list are ignored.
void ApplySelection(InstallInfo* record, const std::string& answer) {
    InstallInfoText chosen[kInstallInfoSlots] = {};
    uint32_t count = 0;
    for (const std::string& name : outside::SplitNames(answer)) {
        bool known = false;
        for (const InstallInfoText& component : record->pCompnet)
            known = known || outside::RecordText(component) == name;
        if (known && count < kInstallInfoSlots) outside::SetRecordText(chosen[count++], name);
    }
    for (uint32_t slot = 0; slot < kInstallInfoSlots; ++slot)
        outside::SetRecordText(record->pSelectionComponent[slot], outside::RecordText(chosen[slot]));
}

// The component dialogs: the answered selection, then the dialog's number.
int ChooseComponents(const char* dialog, InstallInfo* record, const std::string& arguments) {
    const std::string current = outside::JoinNames(outside::SlotTexts(record->pSelectionComponent));
    const std::string selection = AskCall(std::string(dialog) + ".Selection", arguments, current);
    if (selection != current) ApplySelection(record, selection);
    return AskCallNumber(dialog, arguments, kGoOn);
}

}  // namespace

ZEBL_EXPORT InstallInfoToken ZEBL_STDCALL SdBackGourndImage(InstallInfo record) {
    // No window here: the token is whatever the script says (none by default).
    return static_cast<InstallInfoToken>(AskCallNumber("SdBackGourndImage", DescribeRecord(record), 0));
}

ZEBL_EXPORT int ZEBL_STDCALL SdBackGourndScreenUpdateRect(InstallInfo record, SetupRect rect,
                                                          int32_t update) {
    const std::string arguments = DescribeRecord(record) + " rect=" + std::to_string(rect.left) + "," +
                                  std::to_string(rect.top) + "," + std::to_string(rect.right) + "," +
                                  std::to_string(rect.bottom) + " update=" + std::to_string(update);
    return AskCallNumber("SdBackGourndScreenUpdateRect", arguments, 1);
}

ZEBL_EXPORT int ZEBL_STDCALL SdSetupType(InstallInfo record) {
    return AskCallNumber("SdSetupType", DescribeRecord(record), kAutomaticInstall);
}

ZEBL_EXPORT int ZEBL_STDCALL SdMaintenance(InstallInfo record) {
    return AskCallNumber("SdMaintenance", DescribeRecord(record), kRepair);
}

ZEBL_EXPORT int ZEBL_STDCALL SdLanguageAndComponent(InstallInfo* record) {
    if (record == nullptr) return AskCallNumber("SdLanguageAndComponent", "record=null", kGoOn);
    const std::string arguments = DescribeRecord(*record);
    const std::string language =
        AskCall("SdLanguageAndComponent.Language", arguments, outside::RecordText(record->szLanguage));
    outside::SetRecordText(record->szLanguage, language);
    return ChooseComponents("SdLanguageAndComponent", record, arguments);
}

ZEBL_EXPORT int ZEBL_STDCALL SdDeviceConnection(InstallInfo record, int32_t firstDisplay) {
    return AskCallNumber("SdDeviceConnection",
                         DescribeRecord(record) + " first=" + std::to_string(firstDisplay),
                         firstDisplay != 0 ? kGoOn : kDeviceGoOn);
}

ZEBL_EXPORT int ZEBL_STDCALL SdMaintenanceComponent(InstallInfo* record, int32_t forcedUninstall) {
    const std::string forced = " forced=" + std::to_string(forcedUninstall);
    if (record == nullptr) return AskCallNumber("SdMaintenanceComponent", "record=null" + forced, kGoOn);
    return ChooseComponents("SdMaintenanceComponent", record, DescribeRecord(*record) + forced);
}

ZEBL_EXPORT int ZEBL_STDCALL SdFinish(InstallInfo record) {
    return AskCallNumber("SdFinish", DescribeRecord(record), kGoOn);
}

ZEBL_EXPORT int ZEBL_STDCALL SdCancel(InstallInfo record) {
    return AskCallNumber("SdCancel", DescribeRecord(record), kLeaveSetup);
}
