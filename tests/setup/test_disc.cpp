#include "setup/test_disc.h"

#include "data/language_table.h"
#include "support/file_bytes.h"
#include "sys/files.h"
#include "sys/os_version.h"
#include "sys/paths.h"

namespace zebl_test {
namespace {

void MakeFolders(sys::WStringView path) {
    const sys::WStringView parent = sys::FolderOf(path);
    if (parent.empty() || sys::GetPathKind(parent) == sys::PathKind::Folder) return;
    MakeFolders(parent);
    sys::CreateDirectory(parent);
}

}  // namespace

TestDisc::TestDisc(const TempFolder& temp) : root_(temp.Join(u"Disc")) { sys::CreateDirectory(root_); }

sys::WString TestDisc::Join(sys::WStringView relative) const { return sys::JoinPath(root_, relative); }

void TestDisc::Write(sys::WStringView relative, std::string_view bytes) const {
    const sys::WString path = Join(relative);
    MakeFolders(path);
    ASSERT_TRUE(WriteFileBytes(path, bytes.data(), bytes.size())) << sys::Narrow(path);
}

void TestDisc::WriteLanguage(std::string_view abbreviation, std::string_view bytes) const {
    Write(u"DATA\\Lang_" + sys::Widen(abbreviation) + u".Dat", bytes);
}

bool SetupDataTest::Pretend(const char* release, uint16_t languageId) {
    if (!sys::testing::IdentityIsSettable()) return false;
    sys::testing::WindowsIdentity identity = *sys::testing::WindowsVersionByName(release);
    identity.languageId = languageId;
    sys::testing::SetWindowsIdentity(identity);
    return true;
}

std::string SetupDataTest::SystemLanguage() {
    return std::string(setup::LanguageAbbreviation(sys::GetSystemDefaultLangID()));
}

std::string Section(std::string_view name, std::initializer_list<std::string_view> lines) {
    std::string text = "[" + std::string(name) + "]\r\n";
    for (std::string_view line : lines) text += std::string(line) + "\r\n";
    return text;
}

}  // namespace zebl_test
