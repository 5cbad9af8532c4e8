// The setup program's knowledge of the machine and the disc: the Windows
// version, the setup data file SETUP.DAT, the language files Lang_%s.Dat
// in the disc's DATA folder and the components that may be installed here,
// gathered into the install-information record before any dialog shows.
//
// The routines keep the names and results of the setup program (1 success,
// 0 failure, dialog numbers elsewhere); what the user must see goes to a
// message box, with the texts of the language file. A value longer than the
// record's array is cut; no data file, however hostile, makes them read or
// write outside the record.
#pragma once

#include <optional>

#include "formats/install_info.h"
#include "sys/text.h"

namespace setup {

class CSetupData {
public:
    // The command line the program was started with and the program's own
    // name without extension ("Setup"), from which the setup directory is
    // found.
    CSetupData(sys::WString commandLine, sys::WStringView programName);

    // Sets m_nOSVersion from the version information; 0 when Windows gives
    // none or reports Win32s (the code is set even then).
    int MyGetOSVersion();
    // 1 when the 9x registry version number names Windows Me.
    static int MyGetOSVersionBugFix();

    // Fills m_InstallInfo from the disc; 0 when setup must stop (after the
    // message the user must see). Takes nOSVersion as it stands.
    int MyGetInstallInfo();
    // Picks the language file: the system's language, an earlier
    // installation's, or the data file's default.
    void MyGetDefultLanguage(sys::WStringView setupDataFile, sys::WStringView dataDirectory);
    // 1 when SETUP.DAT names an OS directory for the running Windows.
    int MyCheckOSDirecoryName();
    // Lists the components that may be installed here into the slots.
    int MyGetComponent();
    // 1 when the slot's component may be installed on this Windows; a
    // refused slot is cleared.
    int MyCheckExeSupportOS(int slot);
    // Completes the slot's directory with its language and OS folders.
    void MyDetermineComponentDirectory(int slot);
    // False when no component is left (after telling the user).
    bool MyCheckComponentCount();

    // A value of an INI-format data file: at most 255 bytes as stored, in
    // the code page of the file's language (a language file Lang_XX.Dat is
    // in XX's, any other file in the system's), with the two characters
    // "\n" made a line break and "%LANG_ABBR%" the current language.
    sys::WString MyGetProfileString(sys::WStringView section, sys::WStringView key,
                                    sys::WStringView file) const;

    int m_nOSVersion = 0;
    InstallInfo m_InstallInfo{};
    sys::WString m_strSetupDataFile;
    sys::WString m_strLocalDirectory;

private:
    sys::WString ReadSetupData(sys::WStringView key) const;
    // A flag value read into a 10-byte buffer, as the flags are: "1" only.
    bool IsOne(sys::WStringView section, sys::WStringView key, sys::WStringView file) const;
    sys::WString FindSetupDirectory() const;
    // The "Language" value an earlier installation left in the registry.
    std::optional<sys::WString> EarlierInstallationLanguage() const;
    sys::WString LanguageFolderOf(sys::WStringView abbreviation) const;
    void ClearSlot(int slot);
    void SelectComponent(sys::WStringView name);
    sys::WString ComponentPath(int slot, sys::WStringView name) const;
    void ShowMessage(sys::WStringView text) const;
    sys::WString LanguageMessage(sys::WStringView key) const;

    sys::WString commandLine_;
    sys::WString exeName_;
};

}  // namespace setup
