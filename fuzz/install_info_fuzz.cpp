// Feeds arbitrary data files to MyGetInstallInfo. The input is a disc:
//
//   byte 0      the Windows version code (0 to 11; 11 is out of range)
//   byte 1      the system's language: a row of the language table (posix
//               build; elsewhere the system's own language answers)
//   the rest    up to four files separated by "\n====\n": SETUP.DAT, the
//               language file of that row's language, the English language
//               file, and Comp\VLOS.DAT; Comp\ also holds the installers
//               Setup.exe and Setup.inf
//
// Nothing may crash, hang or read or write outside the record, and every
// text of the record must end inside its array.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "data/language_table.h"
#include "data/setup_data.h"
#include "sys/files.h"
#include "sys/paths.h"
#include "sys/temp_files.h"
#include "sys/testing/system_identity.h"

namespace {

constexpr std::string_view kSeparator = "\n====\n";

// A folder of this process's own for the disc, made at the first input and
// removed with its files when the process ends; the files in it are
// replaced by every input.
class DiscFolder {
public:
    DiscFolder()
        : reserved_(sys::GetTempFileName(sys::GetTempPath(), u"iif")),
          root_(reserved_ + u".disc"),
          folders_{root_, root_ + u"\\DATA", root_ + u"\\Comp"} {
        for (const sys::WString& folder : folders_) sys::CreateDirectory(folder);
    }
    ~DiscFolder() {
        for (const char16_t* file : kFiles) sys::DeleteFile(root_ + file);
        for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder)
            sys::RemoveDirectory(*folder);
        sys::DeleteFile(reserved_);
    }
    DiscFolder(const DiscFolder&) = delete;
    DiscFolder& operator=(const DiscFolder&) = delete;

    const sys::WString& Root() const { return root_; }

private:
    static constexpr const char16_t* kFiles[] = {u"\\SETUP.DAT", u"\\DATA\\Lang_EN.Dat", u"\\Comp\\VLOS.DAT",
                                                 u"\\Comp\\Setup.exe", u"\\Comp\\Setup.inf"};
    sys::WString reserved_;
    sys::WString root_;
    std::vector<sys::WString> folders_;  // outermost first
};

void WriteFile(const sys::WString& path, std::string_view bytes) {
    sys::File file = sys::File::CreateAlways(path);
    uint32_t written = 0;
    if (file.IsOpen()) file.Write(bytes.data(), static_cast<uint32_t>(bytes.size()), &written);
}

std::vector<std::string_view> SplitFiles(std::string_view rest) {
    std::vector<std::string_view> files;
    while (files.size() < 3) {
        const size_t at = rest.find(kSeparator);
        if (at == std::string_view::npos) break;
        files.push_back(rest.substr(0, at));
        rest.remove_prefix(at + kSeparator.size());
    }
    files.push_back(rest);
    files.resize(4);
    return files;
}

template <size_t N>
void CheckEnds(const char (&text)[N]) {
    if (std::memchr(text, 0, N) == nullptr) std::abort();
}

void CheckRecord(const InstallInfo& info) {
    for (size_t slot = 0; slot < kInstallInfoSlots; ++slot) {
        CheckEnds(info.pComponentLanguage[slot]);
        CheckEnds(info.pComponentLangSection[slot]);
        CheckEnds(info.pCompnet[slot]);
        CheckEnds(info.pComponentInstallFile[slot]);
        CheckEnds(info.pSelectionComponent[slot]);
        CheckEnds(info.pComponentDirectory[slot]);
        CheckEnds(info.pUsbInfFile[slot]);
        if (info.bMultiLanguage[slot] > 1 || info.bIndependentOS[slot] > 1) std::abort();
    }
    for (const InstallInfoText* text :
         {&info.szManufacture, &info.szProductName, &info.szModelName, &info.szMdlValue, &info.szVidPidValue,
          &info.szPnpId, &info.szDefaultPort, &info.szLanguage, &info.szLanguageDirectory,
          &info.szSetupDataFile, &info.szLanguageFile, &info.szSystemLanguageFile, &info.szDataDirectory,
          &info.szLocalDirectory, &info.szSetupDirectory, &info.szOSDirectory})
        CheckEnds(*text);
    CheckEnds(info.szExeName);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const auto languages = setup::LanguageTable();
    const setup::LanguageRow& language = languages[data[1] % languages.size()];
    if (sys::testing::IdentityIsSettable()) {
        sys::testing::WindowsIdentity identity = *sys::testing::WindowsVersionByName("winxp");
        identity.languageId = static_cast<uint16_t>(
            (language.subLanguage < 0 ? 1 : language.subLanguage) << 10 | language.primaryLanguage);
        sys::testing::SetWindowsIdentity(identity);
    }

    const std::vector<std::string_view> files =
        SplitFiles(std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2));
    static DiscFolder folder;
    const sys::WString& disc = folder.Root();
    // Each language's file is left for the end of the run: the next input
    // may be of another language and must not find it.
    const sys::WString languageFile = disc + u"\\DATA\\Lang_" + sys::Widen(language.abbreviation) + u".Dat";
    WriteFile(disc + u"\\SETUP.DAT", files[0]);
    WriteFile(languageFile, files[1]);
    WriteFile(disc + u"\\DATA\\Lang_EN.Dat", files[2]);
    WriteFile(disc + u"\\Comp\\VLOS.DAT", files[3]);
    WriteFile(disc + u"\\Comp\\Setup.exe", "MZ");
    WriteFile(disc + u"\\Comp\\Setup.inf", "[Version]");

    setup::CSetupData setupData(u"\"" + disc + u"\\Setup.exe\"", u"Setup");
    setupData.m_InstallInfo.nOSVersion = data[0] % 12;
    if (setupData.MyGetInstallInfo()) setupData.MyCheckComponentCount();
    CheckRecord(setupData.m_InstallInfo);
    if (language.abbreviation != "EN") sys::DeleteFile(languageFile);
    return 0;
}
