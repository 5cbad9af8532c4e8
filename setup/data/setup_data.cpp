// Reading the setup data: where the disc is, what SETUP.DAT says about the
// printer, and the folders derived from it.
#include "data/setup_data.h"

#include <algorithm>

#include "common/trace.h"
#include "data/fixed_text.h"
#include "data/profile_value.h"
#include "data/windows_version.h"
#include "sys/current_directory.h"
#include "sys/message_box.h"
#include "sys/modules.h"
#include "sys/paths.h"

namespace setup {
namespace {

constexpr sys::WStringView kStart = u"START";

// Where `name` stands in `text` as a file name of its own (after a folder
// separator, a drive's colon or a quote, or at the start), compared without
// regard to case; npos when nowhere.
size_t FindFileName(sys::WStringView text, sys::WStringView name) {
    if (name.empty() || name.size() > text.size()) return sys::WStringView::npos;
    for (size_t at = 0; at + name.size() <= text.size(); ++at) {
        if (!sys::EqualsIgnoreCase(text.substr(at, name.size()), name)) continue;
        if (at == 0 || sys::IsPathSeparator(text[at - 1]) || text[at - 1] == u':' || text[at - 1] == u'"')
            return at;
    }
    return sys::WStringView::npos;
}

// The system directory cut before its second backslash: "C:\WINDOWS" of
// "C:\WINDOWS\system32".
sys::WString WindowsDirectoryOf(sys::WStringView systemDirectory) {
    const size_t first = systemDirectory.find(u'\\');
    const size_t second = first == sys::WStringView::npos ? first : systemDirectory.find(u'\\', first + 1);
    return sys::WString(systemDirectory.substr(0, second));
}

sys::WString UpperCase(sys::WStringView text) {
    sys::WString upper(text);
    for (char16_t& c : upper)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return upper;
}

}  // namespace

CSetupData::CSetupData(sys::WString commandLine, sys::WStringView programName)
    : commandLine_(std::move(commandLine)), exeName_(UpperCase(programName) + u".EXE") {
    StoreText(m_InstallInfo.szExeName, exeName_);
}

sys::WString CSetupData::MyGetProfileString(sys::WStringView section, sys::WStringView key,
                                            sys::WStringView file) const {
    return ExpandDataText(ReadDataValue(section, key, file), LoadText(m_InstallInfo.szLanguage));
}

sys::WString CSetupData::ReadSetupData(sys::WStringView key) const {
    return MyGetProfileString(kStart, key, m_strSetupDataFile);
}

bool CSetupData::IsOne(sys::WStringView section, sys::WStringView key, sys::WStringView file) const {
    return ReadDataValue(section, key, file, kFlagBuffer) == u"1";
}

void CSetupData::ShowMessage(sys::WStringView text) const { sys::MessageBox(text, u"", sys::kMbOk); }

sys::WString CSetupData::LanguageMessage(sys::WStringView key) const {
    return MyGetProfileString(u"ERROR_MSG", key, LoadText(m_InstallInfo.szLanguageFile));
}

// The folder before the program's name on the command line, without the
// final backslash and an opening quote. A program started by its bare name,
// or from a command line that does not name it, runs in the current one.
sys::WString CSetupData::FindSetupDirectory() const {
    const size_t at = FindFileName(commandLine_, exeName_);
    if (at == 0 || at == sys::WStringView::npos) return sys::GetCurrentDirectory();
    sys::WStringView folder = sys::WStringView(commandLine_).substr(0, at);
    if (!folder.empty() && sys::IsPathSeparator(folder.back())) folder.remove_suffix(1);
    if (!folder.empty() && folder.front() == u'"') folder.remove_prefix(1);
    return sys::WString(folder);
}

int CSetupData::MyGetInstallInfo() {
    MyTrace("MyGetInstallInfo Start");
    InstallInfo& info = m_InstallInfo;
    StoreText(info.szSetupDirectory, FindSetupDirectory());
    const sys::WString setupDirectory = LoadText(info.szSetupDirectory);
    sys::SetCurrentDirectory(setupDirectory);
    MyTrace("       Setup directory %s", info.szSetupDirectory);

    StoreText(info.szSetupDataFile, sys::JoinPath(setupDirectory, u"SETUP.DAT"));
    m_strSetupDataFile = LoadText(info.szSetupDataFile);

    StoreText(info.szManufacture, ReadSetupData(u"MANUFACTURE"));
    StoreText(info.szModelName, ReadSetupData(u"PRINTER_MODEL_NAME"));
    StoreText(info.szMdlValue, ReadSetupData(u"PRINTER_MDL_VALUE"));
    StoreText(info.szVidPidValue, ReadSetupData(u"PRINTER_VIDPID_VALUE"));
    const sys::WString port = ReadSetupData(u"DEFAULT_PORT");
    StoreText(info.szDefaultPort, port.empty() ? sys::WString(u"FILE:") : port);
    StoreText(info.szLanguage, ReadSetupData(u"DEFAULT_LANGUAGE"));
    sys::WString localName = ReadSetupData(u"LOCAL_DIRECTORY");
    if (localName.empty()) localName = LoadText(info.szMdlValue);

    StoreText(info.szDataDirectory, sys::JoinPath(setupDirectory, u"DATA"));
    MyGetDefultLanguage(m_strSetupDataFile, LoadText(info.szDataDirectory));

    const sys::WString windowsDirectory = WindowsDirectoryOf(sys::GetSystemDirectory());
    StoreText(info.szLocalDirectory,
              sys::JoinPath(sys::JoinPath(windowsDirectory, LoadText(info.szManufacture)), localName));
    m_strLocalDirectory = localName;

    MyTrace("       Maker %s, model %s, port %s, local directory %s", info.szManufacture, info.szModelName,
            info.szDefaultPort, info.szLocalDirectory);
    if (!MyCheckOSDirecoryName() || !MyGetComponent()) {
        MyTrace("MyGetInstallInfo End: setup stops");
        return 0;
    }

    const sys::WString product = ReadSetupData(u"PRODUCT_NAME");
    StoreText(info.szProductName, product.empty() ? LoadText(info.szModelName) : product);
    sys::WString pnpId = LoadText(info.szManufacture) + LoadText(info.szMdlValue);
    std::replace(pnpId.begin(), pnpId.end(), u' ', u'_');
    StoreText(info.szPnpId, pnpId);
    MyTrace("       Product %s, PnP id %s; MyGetInstallInfo End", info.szProductName, info.szPnpId);
    return 1;
}

int CSetupData::MyCheckOSDirecoryName() {
    MyTrace("MyCheckOSDirecoryName Start");
    const std::string_view key = WindowsVersionKey(m_InstallInfo.nOSVersion);
    if (key.empty()) {
        ShowMessage(u"Not Windows Version");
        return 0;
    }
    StoreText(m_InstallInfo.szOSDirectory, ReadSetupData(sys::Widen(key)));
    if (IsEmptyText(m_InstallInfo.szOSDirectory)) {
        MyTrace("       No %.*s folder in START; MyCheckOSDirecoryName End", static_cast<int>(key.size()),
                key.data());
        ShowMessage(LanguageMessage(u"ERR_MSG4"));
        return 0;
    }
    MyTrace("       OS directory %s; MyCheckOSDirecoryName End", m_InstallInfo.szOSDirectory);
    return 1;
}

}  // namespace setup
