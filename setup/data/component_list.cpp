// The components of the disc that may be installed on this Windows: read
// from the ROOT_COMPONENT_n keys of SETUP.DAT into the record's twenty
// slots. A component whose installer is missing, or whose VLOS.DAT does not
// list this Windows, gives its slot to the next one.
#include <cstdlib>
#include <string>

#include "common/trace.h"
#include "data/fixed_text.h"
#include "data/profile_value.h"
#include "data/setup_data.h"
#include "data/windows_version.h"
#include "sys/files.h"
#include "sys/paths.h"

namespace setup {
namespace {

sys::WString ComponentKey(int n, sys::WStringView suffix = {}) {
    return u"ROOT_COMPONENT_" + sys::Widen(std::to_string(n)) + sys::WString(suffix);
}

bool ContainsIgnoreCase(sys::WStringView text, sys::WStringView part) {
    for (size_t at = 0; at + part.size() <= text.size(); ++at)
        if (sys::EqualsIgnoreCase(text.substr(at, part.size()), part)) return true;
    return false;
}

bool IsFile(sys::WStringView path) { return sys::GetPathKind(path) == sys::PathKind::File; }

// The leading number of a value (blanks and a sign before it), as atoi
// reads it: "2", " 1x" and "-1" are non-zero; "", "0" and "x" are zero.
bool IsNonZero(sys::WStringView text) {
    const std::string number = sys::Narrow(text);
    return std::strtol(number.c_str(), nullptr, 10) != 0;
}

}  // namespace

sys::WString CSetupData::LanguageFolderOf(sys::WStringView abbreviation) const {
    return MyGetProfileString(u"LANGUAGE_DIRECTORY", abbreviation, m_strSetupDataFile);
}

sys::WString CSetupData::ComponentPath(int slot, sys::WStringView name) const {
    const auto index = static_cast<size_t>(slot);
    return sys::JoinPath(sys::JoinPath(LoadText(m_InstallInfo.szSetupDirectory),
                                       LoadText(m_InstallInfo.pComponentDirectory[index])),
                         name);
}

void CSetupData::ClearSlot(int slot) {
    const auto index = static_cast<size_t>(slot);
    InstallInfo& info = m_InstallInfo;
    ClearText(info.pCompnet[index]);
    ClearText(info.pComponentInstallFile[index]);
    ClearText(info.pComponentDirectory[index]);
    ClearText(info.pComponentLanguage[index]);
    ClearText(info.pComponentLangSection[index]);
}

void CSetupData::SelectComponent(sys::WStringView name) {
    for (InstallInfoText& selected : m_InstallInfo.pSelectionComponent) {
        if (!IsEmptyText(selected)) continue;
        StoreText(selected, name);
        return;
    }
}

int CSetupData::MyGetComponent() {
    MyTrace("MyGetComponent Start");
    InstallInfo& info = m_InstallInfo;
    const sys::WString language = LoadText(info.szLanguage);
    int slot = 0;
    for (int n = 0; n < static_cast<int>(kInstallInfoSlots); ++n) {
        const auto index = static_cast<size_t>(slot);
        StoreText(info.pCompnet[index], ReadSetupData(ComponentKey(n)));

        ClearText(info.pComponentLangSection[index]);
        StoreText(info.pComponentLanguage[index], language);
        const sys::WString customSection = ComponentKey(n, u"_CUSTOM_LANG");
        if (IsOne(u"START", customSection, m_strSetupDataFile)) {
            const sys::WString custom =
                ReadDataValue(customSection, language, m_strSetupDataFile, kFlagBuffer);
            if (!custom.empty()) {
                StoreText(info.pComponentLanguage[index], custom);
                StoreText(info.pComponentLangSection[index], customSection);
            }
        }

        StoreText(info.pComponentInstallFile[index], ReadSetupData(ComponentKey(n, u"_INSTALLFILE")));
        StoreText(info.pComponentDirectory[index], ReadSetupData(ComponentKey(n, u"_DIRECTORY")));
        info.bMultiLanguage[index] = ReadSetupData(ComponentKey(n, u"_SUPPORT_MULTI_LANGUAGE")) == u"1";
        info.bIndependentOS[index] =
            IsOne(u"START", ComponentKey(n, u"_INDEPENDENT_OS_VERSION"), m_strSetupDataFile);
        MyDetermineComponentDirectory(slot);

        if (IsEmptyText(info.pComponentInstallFile[index])) {  // the end of the list
            ClearSlot(slot);
            MyTrace("       %d components; MyGetComponent End", slot);
            return 1;
        }
        if (!IsFile(ComponentPath(slot, LoadText(info.pComponentInstallFile[index])))) {
            MyTrace("       Component %d: no %s in %s", n, info.pComponentInstallFile[index],
                    info.pComponentDirectory[index]);
            ClearSlot(slot);
            continue;
        }
        if (MyCheckExeSupportOS(slot)) {
            MyTrace("       Slot %d: %s in %s", slot, info.pCompnet[index], info.pComponentDirectory[index]);
            if (IsNonZero(ReadSetupData(ComponentKey(n, u"_AUTO_INSTALL"))))
                SelectComponent(LoadText(info.pCompnet[index]));
            ++slot;
        }
    }
    MyTrace("       %d components; MyGetComponent End", slot);
    if (slot > 0) return 1;
    ShowMessage(u"Non Install component. Setup is terminated");
    return 0;
}

void CSetupData::MyDetermineComponentDirectory(int slot) {
    const auto index = static_cast<size_t>(slot);
    InstallInfo& info = m_InstallInfo;
    const bool ownLanguage =
        !IsEmptyText(info.pComponentLangSection[index]) && !IsEmptyText(info.pComponentLanguage[index]);
    const sys::WString languageFolder = ownLanguage
                                            ? LanguageFolderOf(LoadText(info.pComponentLanguage[index]))
                                            : LoadText(info.szLanguageDirectory);
    const sys::WString osFolder = LoadText(info.szOSDirectory);
    sys::WString directory = LoadText(info.pComponentDirectory[index]);
    if (!info.bMultiLanguage[index]) directory = sys::JoinPath(directory, languageFolder);
    if (!info.bIndependentOS[index]) directory = sys::JoinPath(directory, osFolder);
    StoreText(info.pComponentDirectory[index], directory);
}

// Only programs are checked; a component installed by another kind of
// file is taken on every Windows. A component without a VLOS.DAT runs
// everywhere; one with it only where its SUPPORT_OS section says 1.
int CSetupData::MyCheckExeSupportOS(int slot) {
    const auto index = static_cast<size_t>(slot);
    InstallInfo& info = m_InstallInfo;
    if (!ContainsIgnoreCase(LoadText(info.pComponentInstallFile[index]), u".EXE")) return 1;
    const std::string_view key = WindowsVersionKey(info.nOSVersion);
    if (key.empty()) {
        ShowMessage(u"Non Windows Version");
        ClearSlot(slot);
        return 0;
    }
    const sys::WString supportFile = ComponentPath(slot, u"VLOS.DAT");
    if (!IsFile(supportFile) || IsOne(u"SUPPORT_OS", sys::Widen(key), supportFile)) return 1;
    MyTrace("       %s is not for %.*s", info.pCompnet[index], static_cast<int>(key.size()), key.data());
    ClearSlot(slot);
    info.bMultiLanguage[index] = 1;
    return 0;
}

bool CSetupData::MyCheckComponentCount() {
    InstallInfo& info = m_InstallInfo;
    int count = 0;
    size_t only = 0;
    for (size_t index = 0; index < kInstallInfoSlots; ++index) {
        if (IsEmptyText(info.pCompnet[index])) continue;
        ++count;
        only = index;
    }
    if (count == 1) {
        for (InstallInfoText& selected : info.pSelectionComponent) ClearText(selected);
        StoreText(info.pSelectionComponent[0], LoadText(info.pCompnet[only]));
    }
    MyTrace("MyCheckComponentCount: %d components", count);
    if (count > 0) return true;
    ShowMessage(LanguageMessage(u"ERR_MSG4"));
    return false;
}

}  // namespace setup
