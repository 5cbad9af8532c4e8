// The language of the texts the setup program shows: the system's when the
// disc has its language file, the language an earlier installation kept,
// or else the default of the setup data file.
#include <optional>
#include <string>

#include "common/trace.h"
#include "data/fixed_text.h"
#include "data/language_table.h"
#include "data/profile_value.h"
#include "data/setup_data.h"
#include "sys/files.h"
#include "sys/os_version.h"
#include "sys/paths.h"

namespace setup {
namespace {

sys::WString LanguageFileName(sys::WStringView abbreviation) {
    return u"Lang_" + sys::WString(abbreviation) + u".Dat";
}

// The language file of that abbreviation in the data directory, found by a
// listing of the folder's files (names compared without regard to case);
// empty when there is none.
sys::WString FindLanguageFile(sys::WStringView dataDirectory, sys::WStringView abbreviation) {
    const sys::WString wanted = LanguageFileName(abbreviation);
    for (const sys::DirEntry& entry : sys::ListDirectory(sys::JoinPath(dataDirectory, u"*"))) {
        if ((entry.attributes & sys::kAttrDirectory) == 0 && sys::EqualsIgnoreCase(entry.name, wanted))
            return sys::JoinPath(dataDirectory, entry.name);
    }
    return sys::WString();
}

}  // namespace

void CSetupData::MyGetDefultLanguage(sys::WStringView setupDataFile, sys::WStringView dataDirectory) {
    MyTrace("MyGetDefultLanguage Start");
    InstallInfo& info = m_InstallInfo;
    const uint16_t languageId = sys::GetSystemDefaultLangID();
    if (languageId == 0) {
        MyTrace("       No system language; MyGetDefultLanguage End");
        return;
    }
    sys::WString abbreviation = sys::Widen(LanguageAbbreviation(languageId));
    if (const std::string_view other = PortugueseAlternative(sys::Narrow(abbreviation)); !other.empty()) {
        if (FindLanguageFile(dataDirectory, abbreviation).empty()) abbreviation = sys::Widen(other);
    }

    const sys::WString systemFile = FindLanguageFile(dataDirectory, abbreviation);
    if (!systemFile.empty()) StoreText(info.szSystemLanguageFile, systemFile);

    // An earlier installation keeps its language.
    if (std::optional<sys::WString> earlier = EarlierInstallationLanguage(); earlier)
        abbreviation = std::move(*earlier);

    const sys::WString file = FindLanguageFile(dataDirectory, abbreviation);
    if (!file.empty()) {
        StoreText(info.szLanguage, abbreviation);
        StoreText(info.szLanguageFile, file);
    } else {
        // szLanguage still holds the data file's DEFAULT_LANGUAGE.
        StoreText(info.szLanguageFile,
                  sys::JoinPath(dataDirectory, LanguageFileName(LoadText(info.szLanguage))));
    }
    StoreText(info.szLanguageDirectory,
              MyGetProfileString(u"LANGUAGE_DIRECTORY", LoadText(info.szLanguage), setupDataFile));
    if (systemFile.empty()) StoreText(info.szSystemLanguageFile, LoadText(info.szLanguageFile));
    MyTrace("       System language 0x%04X; language %s, file %s, folder %s; MyGetDefultLanguage End",
            languageId, info.szLanguage, info.szLanguageFile, info.szLanguageDirectory);
}

}  // namespace setup
