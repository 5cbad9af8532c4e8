// VLFcs.Dll, the stand-in of the file-copy library: FileCopyAndSystempUpdate
// really installs, repairs and removes the chosen components, so that the
// setup program's life cycle can be run and checked end to end.
//
// - Install (nSetupMode 12) and repair (9): every component named in
//   pSelectionComponent is copied, folders and all, from its directory on
//   the disc (szSetupDirectory\pComponentDirectory) into a folder of its
//   name under the local folder (szLocalDirectory\<component>), replacing
//   what is there, so a repair restores deleted or changed files. Its
//   installer is then "run": the component's installer is a named question
//   whose answer is its exit code (nothing is started). The package's
//   uninstall and vendor keys are written (package_keys.h).
// - Remove (10): each chosen component's folder and key are deleted; the
//   package's keys go with the last component.
//
// Nothing outside the local folder is written or deleted: the local folder
// must lie in the Windows folder, and component names that are not plain
// folder names are refused. The call is a named question of the answer
// script (setup_calls/call_answer.h): answered 0, the call fails at once.
#include <string>
#include <vector>

#include "../export.h"
#include "../setup_calls/call_answer.h"
#include "../setup_calls/command_line.h"
#include "../setup_calls/record_text.h"
#include "folder_tree.h"
#include "formats/setup_libraries.h"
#include "package_keys.h"
#include "sys/folders.h"
#include "sys/paths.h"

namespace {

using outside::RecordText;

struct ChosenComponent {
    std::string name;  // in the code page, as the record holds it
    sys::WString source;
    sys::WString target;
    sys::WString installFile;
};

sys::WString Wide(std::string_view codePageText) { return sys::FromCodePage(codePageText); }

// A local folder inside the Windows folder, named by plain names only.
bool IsSafeLocalFolder(const sys::WString& local) {
    const sys::WString windows = sys::GetWindowsDirectory();
    if (windows.empty() || local.size() <= windows.size() + 1) return false;
    if (!sys::EqualsIgnoreCase(sys::WStringView(local).substr(0, windows.size()), windows)) return false;
    if (!sys::IsPathSeparator(local[windows.size()])) return false;
    size_t start = windows.size() + 1;
    while (start <= local.size()) {
        size_t end = start;
        while (end < local.size() && !sys::IsPathSeparator(local[end])) ++end;
        if (!outside::IsPlainName(sys::ToCodePage(sys::WStringView(local).substr(start, end - start))))
            return false;
        start = end + 1;
    }
    return true;
}

// The slot whose component has this name, or kInstallInfoSlots.
uint32_t SlotOf(const InstallInfo& record, std::string_view name) {
    for (uint32_t slot = 0; slot < kInstallInfoSlots; ++slot)
        if (RecordText(record.pCompnet[slot]) == name) return slot;
    return kInstallInfoSlots;
}

// The chosen components that the record lists; false when one is unknown or
// its name could lead out of the local folder.
bool ChosenComponents(const InstallInfo& record, const sys::WString& local,
                      std::vector<ChosenComponent>* chosen) {
    bool ok = true;
    for (const std::string& name : outside::SlotTexts(record.pSelectionComponent)) {
        const uint32_t slot = SlotOf(record, name);
        if (slot == kInstallInfoSlots || !outside::IsPlainName(name)) {
            ok = false;
            continue;
        }
        chosen->push_back({name,
                           sys::JoinPath(Wide(RecordText(record.szSetupDirectory)),
                                         Wide(RecordText(record.pComponentDirectory[slot]))),
                           sys::JoinPath(local, Wide(name)),
                           Wide(RecordText(record.pComponentInstallFile[slot]))});
    }
    return ok;
}

outside::PackageNames PackageOf(const InstallInfo& record) {
    const sys::WString setupProgram =
        sys::JoinPath(Wide(RecordText(record.szSetupDirectory)), Wide(RecordText(record.szExeName)));
    return {Wide(RecordText(record.szManufacture)),    Wide(RecordText(record.szModelName)),
            Wide(RecordText(record.szProductName)),    Wide(RecordText(record.szLanguage)),
            Wide(RecordText(record.szLocalDirectory)), u'"' + setupProgram + u"\" /U"};
}

bool RunInstaller(const ChosenComponent& component, int32_t mode) {
    const std::string arguments = "component=\"" + component.name + "\" installer=\"" +
                                  sys::ToCodePage(sys::JoinPath(component.target, component.installFile)) +
                                  "\" mode=" + std::to_string(mode);
    return outside::AskCallNumber("FileCopyAndSystempUpdate.Installer", arguments, 0) == 0;
}

bool Install(const std::vector<ChosenComponent>& chosen, const outside::PackageNames& package, int32_t mode) {
    bool ok = outside::CreateFolderPath(package.localFolder);
    for (const ChosenComponent& component : chosen) {
        if (!outside::CopyFolderTree(component.source, component.target)) {
            ok = false;
            continue;
        }
        ok = RunInstaller(component, mode) && ok;
        ok = outside::WriteComponentKey(package,
                                        {Wide(component.name), component.target, component.installFile}) &&
             ok;
    }
    return outside::WritePackageKeys(package) && ok;
}

bool Remove(const std::vector<ChosenComponent>& chosen, const outside::PackageNames& package) {
    bool ok = true;
    for (const ChosenComponent& component : chosen) {
        ok = outside::DeleteFolderTree(component.target) && ok;
        ok = outside::DeleteComponentKey(package, Wide(component.name)) && ok;
    }
    return outside::DeletePackageKeysWhenEmpty(package) && ok;
}

}  // namespace

ZEBL_EXPORT int ZEBL_STDCALL FileCopyAndSystempUpdate(InstallInfo record, void* wizardThread) {
    const std::string arguments =
        outside::DescribeRecord(record) + " thread=" + (wizardThread != nullptr ? "yes" : "null");
    if (outside::AskCallNumber("FileCopyAndSystempUpdate", arguments, 1) == 0) return 0;

    const outside::PackageNames package = PackageOf(record);
    const bool namesUsable = outside::IsPlainName(sys::ToCodePage(package.maker)) &&
                             outside::IsPlainName(sys::ToCodePage(package.model));
    if (!namesUsable || !IsSafeLocalFolder(package.localFolder)) return 0;
    std::vector<ChosenComponent> chosen;
    bool ok = ChosenComponents(record, package.localFolder, &chosen);
    switch (record.nSetupMode) {
        case kSetupModeInstall:
        case kSetupModeRepair: ok = Install(chosen, package, record.nSetupMode) && ok; break;
        case kSetupModeRemove: ok = Remove(chosen, package) && ok; break;
        default: return 0;
    }
    return ok ? 1 : 0;
}
