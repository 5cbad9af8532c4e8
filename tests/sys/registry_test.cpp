// The registry, run in both builds: natively against the posix layer's
// registry file, under Wine against the system's own registry, which is the
// reference. Each test works below a key of its own under
// HKEY_CURRENT_USER\Software\ZeblTests and removes it afterwards.
#include "sys/registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/child_program.h"
#include "support/temp_folder.h"
#include "sys/last_error.h"
#include "sys/process.h"

namespace {

using sys::RegistryKey;
using sys::RegistryRoot;
using namespace std::string_literals;

constexpr RegistryRoot kRoot = RegistryRoot::kCurrentUser;

// Deletes a key and everything below it; true when it is gone.
bool DeleteTree(RegistryRoot root, const sys::WString& path) {
    {
        RegistryKey key = RegistryKey::Open(root, path, sys::kKeyAllAccess);
        if (!key.IsOpen()) return sys::GetLastError() == sys::kErrorFileNotFound;
        sys::WString name;
        std::vector<sys::WString> names;
        for (uint32_t i = 0; key.EnumSubKey(i, &name); ++i) names.push_back(name);
        for (const sys::WString& subKey : names) DeleteTree(root, path + u"\\" + subKey);
    }
    return sys::RegDeleteKey(root, path);
}

class RegistryTest : public ::testing::Test {
protected:
    RegistryTest() : base_(u"Software\\ZeblTests\\" + unique_.UniqueTag()) {}
    ~RegistryTest() override {
        EXPECT_TRUE(DeleteTree(kRoot, base_)) << "left behind: " << sys::Narrow(base_);
        // The shared parent goes when no other test uses it.
        sys::RegDeleteKey(kRoot, u"Software\\ZeblTests");
    }

    sys::WString Path(sys::WStringView below) const { return base_ + u"\\" + sys::WString(below); }
    RegistryKey Create(sys::WStringView below, uint32_t access = sys::kKeyAllAccess) {
        RegistryKey key = RegistryKey::Create(kRoot, Path(below), access);
        EXPECT_TRUE(key.IsOpen()) << "create " << sys::Narrow(below) << ": error " << sys::GetLastError();
        return key;
    }

    zebl_test::TempFolder unique_;  // only for a name no other process uses
    const sys::WString base_;
};

std::vector<sys::WString> SubKeyNames(const RegistryKey& key) {
    std::vector<sys::WString> names;
    sys::WString name;
    uint32_t index = 0;
    while (key.EnumSubKey(index++, &name)) names.push_back(name);
    EXPECT_EQ(sys::kErrorNoMoreItems, sys::GetLastError());
    return names;
}

std::vector<sys::WString> ValueNames(const RegistryKey& key) {
    std::vector<sys::WString> names;
    sys::WString name;
    uint32_t index = 0;
    while (key.EnumValue(index++, &name)) names.push_back(name);
    EXPECT_EQ(sys::kErrorNoMoreItems, sys::GetLastError());
    return names;
}

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// ---- Keys --------------------------------------------------------------------------

TEST_F(RegistryTest, CreateMakesEveryMissingKeyAndTellsWhetherItWasNew) {
    bool created = false;
    RegistryKey deep = RegistryKey::Create(kRoot, Path(u"Maker\\Model\\Deep"), sys::kKeyAllAccess, &created);
    ASSERT_TRUE(deep.IsOpen());
    EXPECT_TRUE(created);
    RegistryKey again = RegistryKey::Create(kRoot, Path(u"MAKER\\model"), sys::kKeyAllAccess, &created);
    ASSERT_TRUE(again.IsOpen());
    EXPECT_FALSE(created);
    // Names match without regard to case and keep their first spelling.
    EXPECT_EQ(std::vector<sys::WString>{u"Deep"}, SubKeyNames(again));
    RegistryKey top = RegistryKey::Open(kRoot, base_, sys::kKeyRead);
    EXPECT_EQ(std::vector<sys::WString>{u"Maker"}, SubKeyNames(top));
    // A trailing separator names the same key.
    EXPECT_TRUE(RegistryKey::Open(kRoot, Path(u"maker\\MODEL\\deep\\"), sys::kKeyRead).IsOpen());
}

TEST_F(RegistryTest, MissingKeysAndValuesAreFileNotFound) {
    EXPECT_FALSE(RegistryKey::Open(kRoot, Path(u"Nothing"), sys::kKeyRead).IsOpen());
    EXPECT_EQ(sys::kErrorFileNotFound, sys::GetLastError());
    RegistryKey key = Create(u"Here");
    sys::RegistryValue value;
    EXPECT_FALSE(key.QueryValue(u"none", &value));
    EXPECT_EQ(sys::kErrorFileNotFound, sys::GetLastError());
    EXPECT_FALSE(key.DeleteValue(u"none"));
    EXPECT_EQ(sys::kErrorFileNotFound, sys::GetLastError());
    EXPECT_FALSE(key.DeleteSubKey(u"none"));
    EXPECT_EQ(sys::kErrorFileNotFound, sys::GetLastError());
    EXPECT_FALSE(sys::RegDeleteKey(kRoot, Path(u"Nothing")));
    EXPECT_EQ(sys::kErrorFileNotFound, sys::GetLastError());
}

TEST_F(RegistryTest, SubKeysEnumerateInNameOrderWithoutRegardToCase) {
    RegistryKey key = Create(u"List");
    for (const char16_t* name : {u"gamma", u"Beta", u"alpha2", u"ALPHA", u"delta"})
        ASSERT_TRUE(RegistryKey::Create(kRoot, Path(u"List\\"s + name), sys::kKeyRead).IsOpen());
    EXPECT_EQ((std::vector<sys::WString>{u"ALPHA", u"alpha2", u"Beta", u"delta", u"gamma"}),
              SubKeyNames(key));
}

TEST_F(RegistryTest, KeyInformationCountsSubKeysAndValues) {
    RegistryKey key = Create(u"Counted");
    sys::RegistryKeyInfo info;
    ASSERT_TRUE(key.QueryInfo(&info));
    EXPECT_EQ(0u, info.subKeys);
    EXPECT_EQ(0u, info.values);
    // Sub-keys but no values.
    Create(u"Counted\\One");
    Create(u"Counted\\Two\\Below");  // a grandchild does not count
    ASSERT_TRUE(key.QueryInfo(&info));
    EXPECT_EQ(2u, info.subKeys);
    EXPECT_EQ(0u, info.values);
    ASSERT_TRUE(key.SetString(u"a", u"1"));
    ASSERT_TRUE(key.SetDword(u"b", 2));
    ASSERT_TRUE(key.SetString(u"", u"default"));
    ASSERT_TRUE(key.SetString(u"A", u"replaced"));  // the same value as "a"
    ASSERT_TRUE(key.QueryInfo(&info));
    EXPECT_EQ(2u, info.subKeys);
    EXPECT_EQ(3u, info.values);
}

TEST_F(RegistryTest, AKeyWithSubKeysCannotBeDeleted) {
    Create(u"Parent\\Child");
    EXPECT_FALSE(sys::RegDeleteKey(kRoot, Path(u"Parent")));
    EXPECT_EQ(sys::kErrorAccessDenied, sys::GetLastError());
    RegistryKey parent = RegistryKey::Open(kRoot, Path(u"Parent"), sys::kKeyAllAccess);
    ASSERT_TRUE(parent.IsOpen());
    EXPECT_TRUE(parent.DeleteSubKey(u"CHILD"));
    EXPECT_TRUE(sys::RegDeleteKey(kRoot, Path(u"parent")));
    EXPECT_FALSE(RegistryKey::Open(kRoot, Path(u"Parent"), sys::kKeyRead).IsOpen());
}

TEST_F(RegistryTest, AHandleOnADeletedKeyFailsWithKeyDeleted) {
    RegistryKey key = Create(u"Doomed");
    ASSERT_TRUE(key.SetString(u"v", u"x"));
    ASSERT_TRUE(sys::RegDeleteKey(kRoot, Path(u"Doomed")));
    sys::WString text;
    EXPECT_FALSE(key.QueryString(u"v", &text));
    EXPECT_EQ(sys::kErrorKeyDeleted, sys::GetLastError());
    EXPECT_FALSE(key.SetString(u"v", u"y"));
    EXPECT_EQ(sys::kErrorKeyDeleted, sys::GetLastError());
}

TEST_F(RegistryTest, AnEmptyPathIsNeverDeleted) {
    RegistryKey key = Create(u"Kept");
    EXPECT_FALSE(key.DeleteSubKey(u""));
    EXPECT_EQ(sys::kErrorInvalidParameter, sys::GetLastError());
    EXPECT_FALSE(sys::RegDeleteKey(kRoot, u""));
    EXPECT_EQ(sys::kErrorInvalidParameter, sys::GetLastError());
    EXPECT_TRUE(RegistryKey::Open(kRoot, Path(u"Kept"), sys::kKeyRead).IsOpen());
}

// Programs that change one key at the same time never lose each other's
// changes (natively every change rewrites the registry file).
TEST_F(RegistryTest, ProgramsWritingAtTheSameTimeKeepEveryValue) {
    constexpr int kWriters = 6;
    std::vector<sys::Process> writers;
    for (int i = 0; i < kWriters; ++i) {
        const sys::WString command = u"\"" + zebl_test::ChildProgram() + u"\" --set-value \"" +
                                     Path(u"Shared") + u"\" writer" + sys::Widen(std::to_string(i)) + u" 0";
        writers.push_back(sys::Process::Create(command, sys::kSwHide));
        ASSERT_TRUE(writers.back().IsValid());
    }
    for (sys::Process& writer : writers) {
        ASSERT_EQ(sys::kWaitObject0, writer.Wait(sys::kInfinite));
        uint32_t code = 1;
        ASSERT_TRUE(writer.GetExitCode(&code));
        EXPECT_EQ(0u, code);
    }
    RegistryKey key = RegistryKey::Open(kRoot, Path(u"Shared"), sys::kKeyRead);
    ASSERT_TRUE(key.IsOpen());
    sys::RegistryKeyInfo info;
    ASSERT_TRUE(key.QueryInfo(&info));
    EXPECT_EQ(static_cast<uint32_t>(kWriters), info.values);
    sys::WString text;
    ASSERT_TRUE(key.QueryString(u"writer3", &text));
    EXPECT_EQ(u"writer3 4", text);
}

// ---- Access rights -------------------------------------------------------------------

struct AccessCase {
    const char* name;
    uint32_t access;
    bool canQuery;
    bool canSet;
    bool canEnumerate;
};

class RegistryAccessTest : public RegistryTest, public ::testing::WithParamInterface<AccessCase> {};

TEST_P(RegistryAccessTest, AHandleDoesOnlyWhatItWasOpenedFor) {
    const AccessCase& test = GetParam();
    {
        RegistryKey setup = Create(u"Guarded\\Sub");
        RegistryKey guarded = Create(u"Guarded");
        ASSERT_TRUE(guarded.SetString(u"v", u"x"));
    }
    RegistryKey key = RegistryKey::Open(kRoot, Path(u"Guarded"), test.access);
    ASSERT_TRUE(key.IsOpen());
    sys::WString text;
    sys::WString name;
    const auto expectDenial = [](bool allowed) {
        if (!allowed) {
            EXPECT_EQ(sys::kErrorAccessDenied, sys::GetLastError());
        }
    };
    EXPECT_EQ(test.canQuery, key.QueryString(u"v", &text));
    expectDenial(test.canQuery);
    EXPECT_EQ(test.canSet, key.SetString(u"w", u"y"));
    expectDenial(test.canSet);
    EXPECT_EQ(test.canEnumerate, key.EnumSubKey(0, &name));
    expectDenial(test.canEnumerate);
}

INSTANTIATE_TEST_SUITE_P(Rights, RegistryAccessTest,
                         ::testing::Values(AccessCase{"Read", sys::kKeyRead, true, false, true},
                                           AccessCase{"Write", sys::kKeyWrite, false, true, false},
                                           AccessCase{"QueryOnly", sys::kKeyQueryValue, true, false, false},
                                           AccessCase{"All", sys::kKeyAllAccess, true, true, true},
                                           AccessCase{"Maximum", sys::kMaximumAllowed, true, true, true}),
                         [](const auto& param) { return std::string(param.param.name); });

// ---- Values --------------------------------------------------------------------------

struct ValueCase {
    const char* name;
    sys::WString valueName;
    uint32_t type;
    std::string data;  // as written, code-page text for the string types
    std::string expectedText;
    bool readsAsString;
};

class RegistryValueTest : public RegistryTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(RegistryValueTest, ValuesComeBackAsWritten) {
    const ValueCase& test = GetParam();
    {
        RegistryKey writer = Create(u"Values");
        ASSERT_TRUE(writer.SetValue(test.valueName, test.type, Bytes(test.data)));
    }
    // A fresh handle: natively the value has been through the file.
    RegistryKey key = RegistryKey::Open(kRoot, Path(u"VALUES"), sys::kKeyRead);
    ASSERT_TRUE(key.IsOpen());
    sys::RegistryValue value;
    ASSERT_TRUE(key.QueryValue(test.valueName, &value));
    EXPECT_EQ(test.type, value.type);
    if (test.type != sys::kRegSz || test.data.ends_with('\0')) {
        EXPECT_EQ(test.data, value.data);
    }
    sys::WString text;
    EXPECT_EQ(test.readsAsString, key.QueryString(test.valueName, &text));
    if (test.readsAsString) {
        EXPECT_EQ(test.expectedText, sys::Narrow(text));
    } else {
        EXPECT_EQ(sys::kErrorUnsupportedType, sys::GetLastError());
    }
    EXPECT_EQ(std::vector<sys::WString>{test.valueName}, ValueNames(key));
}

const ValueCase kValueCases[] = {
    {"Text", u"Language", sys::kRegSz, "EN\0"s, "EN", true},
    {"Empty", u"Blank", sys::kRegSz, "\0"s, "", true},
    {"DefaultValue", u"", sys::kRegSz, "default\0"s, "default", true},
    {"Expand", u"Path", sys::kRegExpandSz, "%SystemRoot%\\x\0"s, "%SystemRoot%\\x", true},
    // Written with a fixed size of 256 bytes: the text ends at its NUL.
    {"Padded", u"Printer", sys::kRegSz, "Model 5\0"s + std::string(248, '\0'), "Model 5", true},
    // Stored without its NUL, as the run-once entry is.
    {"Unterminated", u"RunOnce", sys::kRegSz, "C:\\x.exe /M", "C:\\x.exe /M", true},
    {"Escapes", u"quote \" back \\ tab\t[x]=@", sys::kRegSz, "line\nbreak \"q\" \\ %20\0"s,
     "line\nbreak \"q\" \\ %20", true},
    {"Dword", u"Count", sys::kRegDword, "\x0B\x00\x00\x00"s, "", false},
    {"Binary", u"INSTALLED.SYS", sys::kRegBinary, "\x0B\x00"s, "", false},
    {"EmptyBinary", u"Nothing", sys::kRegBinary, "", "", false},
    {"MultiString", u"Multi", sys::kRegMultiSz, "a\0b\0\0"s, "", false},
};

INSTANTIATE_TEST_SUITE_P(Types, RegistryValueTest, ::testing::ValuesIn(kValueCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(RegistryTest, StringsAndNumbersThroughTheirOwnCalls) {
    RegistryKey key = Create(u"Typed");
    ASSERT_TRUE(key.SetString(u"Name", u"Caf\u00e9 M\u00fcller"));
    ASSERT_TRUE(key.SetDword(u"Number", 0xA1B2C3D4u));
    sys::WString text;
    ASSERT_TRUE(key.QueryString(u"NAME", &text));
    EXPECT_EQ(u"Caf\u00e9 M\u00fcller", text);
    uint32_t number = 0;
    ASSERT_TRUE(key.QueryDword(u"number", &number));
    EXPECT_EQ(0xA1B2C3D4u, number);
    EXPECT_FALSE(key.QueryDword(u"Name", &number));
    EXPECT_EQ(sys::kErrorUnsupportedType, sys::GetLastError());
    // A value replaced keeps one entry and takes the new type.
    ASSERT_TRUE(key.SetString(u"number", u"now text"));
    ASSERT_TRUE(key.QueryString(u"Number", &text));
    EXPECT_EQ(u"now text", text);
    EXPECT_EQ(2u, ValueNames(key).size());
    ASSERT_TRUE(key.DeleteValue(u"NUMBER"));
    EXPECT_EQ(std::vector<sys::WString>{u"Name"}, ValueNames(key));
}

TEST_F(RegistryTest, AStringLongerThanTheReadBufferIsMoreData) {
    RegistryKey key = Create(u"Long");
    const sys::WString fits(255, u'x');
    const sys::WString tooLong(256, u'y');
    ASSERT_TRUE(key.SetString(u"fits", fits));
    ASSERT_TRUE(key.SetString(u"long", tooLong));
    sys::WString text;
    ASSERT_TRUE(key.QueryString(u"fits", &text, 256));
    EXPECT_EQ(fits, text);
    EXPECT_FALSE(key.QueryString(u"long", &text, 256));
    EXPECT_EQ(sys::kErrorMoreData, sys::GetLastError());
    ASSERT_TRUE(key.QueryString(u"long", &text));
    EXPECT_EQ(tooLong, text);
}

TEST_F(RegistryTest, KeyNamesWithTheFileFormsOwnCharacters) {
    const sys::WString odd = u"br[ack]et %41 \"q\" =@;";
    Create(u"Odd\\" + odd);
    RegistryKey key = RegistryKey::Open(kRoot, Path(u"Odd"), sys::kKeyRead);
    ASSERT_TRUE(key.IsOpen());
    EXPECT_EQ(std::vector<sys::WString>{odd}, SubKeyNames(key));
    EXPECT_TRUE(RegistryKey::Open(kRoot, Path(u"Odd\\" + odd), sys::kKeyRead).IsOpen());
}

TEST_F(RegistryTest, APathStartingWithASeparatorIsRefused) {
    Create(u"Rooted");
    EXPECT_FALSE(RegistryKey::Open(kRoot, u"\\" + Path(u"Rooted"), sys::kKeyRead).IsOpen());
    EXPECT_EQ(sys::kErrorBadPathname, sys::GetLastError());
}

}  // namespace

#ifndef _WIN32
// The posix layer's registry file: what a damaged file keeps, and that a
// change replaces the file whole.
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class RegistryFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/zebl-registry-XXXXXX";
        ASSERT_NE(nullptr, ::mkdtemp(pattern));
        root_ = pattern;
        const char* saved = std::getenv("ZSYS_MACHINE_ROOT");
        hadRoot_ = saved != nullptr;
        if (hadRoot_) savedRoot_ = saved;
        ::setenv("ZSYS_MACHINE_ROOT", root_.c_str(), 1);
    }
    void TearDown() override {
        if (hadRoot_) ::setenv("ZSYS_MACHINE_ROOT", savedRoot_.c_str(), 1);
        else ::unsetenv("ZSYS_MACHINE_ROOT");
        std::filesystem::remove_all(root_);
    }
    void WriteFile(const std::string& text) const { std::ofstream(root_ + "/registry.txt") << text; }
    std::string ReadFile() const {
        std::ostringstream text;
        text << std::ifstream(root_ + "/registry.txt").rdbuf();
        return text.str();
    }

    std::string root_;
    std::string savedRoot_;
    bool hadRoot_ = false;
};

TEST_F(RegistryFileTest, ADamagedFileLosesOnlyTheLinesThatDoNotParse) {
    WriteFile(
        "\"orphan\"=\"before any key\"\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker]\n"
        "\"Good\"=\"kept\"\r\n"
        "\"Unclosed=\"x\"\n"
        "\"BadHex\"=hex(3):0g\n"
        "\"BadDword\"=dword:123\n"
        "garbage line\n"
        "[HKEY_NOWHERE\\X]\n"
        "\"Lost\"=\"under no key\"\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker\\Model]\n"
        "\"Count\"=dword:0000000b\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Cut%4");
    RegistryKey maker = RegistryKey::Open(RegistryRoot::kLocalMachine, u"Software\\maker", sys::kKeyRead);
    ASSERT_TRUE(maker.IsOpen());
    sys::RegistryKeyInfo info;
    ASSERT_TRUE(maker.QueryInfo(&info));
    EXPECT_EQ(1u, info.subKeys);
    EXPECT_EQ(1u, info.values);
    sys::WString text;
    ASSERT_TRUE(maker.QueryString(u"Good", &text));
    EXPECT_EQ(u"kept", text);
    uint32_t count = 0;
    RegistryKey model =
        RegistryKey::Open(RegistryRoot::kLocalMachine, u"Software\\Maker\\Model", sys::kKeyRead);
    ASSERT_TRUE(model.QueryDword(u"Count", &count));
    EXPECT_EQ(11u, count);
    RegistryKey software = RegistryKey::Open(RegistryRoot::kLocalMachine, u"Software", sys::kKeyRead);
    ASSERT_TRUE(software.QueryInfo(&info));
    EXPECT_EQ(1u, info.subKeys);  // the cut key line made no key
}

TEST_F(RegistryFileTest, AChangeReplacesTheFileWholeAndLeavesNoTemporaryFile) {
    WriteFile("[HKEY_CURRENT_USER\\Old]\n\"v\"=\"1\"\n");
    RegistryKey key = RegistryKey::Create(RegistryRoot::kCurrentUser, u"New", sys::kKeyAllAccess);
    ASSERT_TRUE(key.SetString(u"w", u"2"));
    EXPECT_EQ(
        "; the registry of this machine root\n"
        "[HKEY_CLASSES_ROOT]\n"
        "[HKEY_CURRENT_USER]\n"
        "[HKEY_CURRENT_USER\\New]\n"
        "\"w\"=\"2\"\n"
        "[HKEY_CURRENT_USER\\Old]\n"
        "\"v\"=\"1\"\n"
        "[HKEY_LOCAL_MACHINE]\n"
        "[HKEY_USERS]\n",
        ReadFile());
    for (const auto& entry : std::filesystem::directory_iterator(root_)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "registry.txt" || name == "registry.lock") << name;
    }
}

}  // namespace
#endif
