// Loading modules by name: the stand-in modules that the build puts in
// "bin" serve as real modules in both builds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/file_bytes.h"
#include "support/library_paths.h"
#include "support/temp_folder.h"
#include "sys/files.h"
#include "sys/last_error.h"
#include "sys/modules.h"

namespace {

using zebl_test::StandInFolder;

sys::WString ColourStandIn() { return StandInFolder() + u"\\Tzqr4CM.DLL"; }

std::string Lower(sys::WStringView text) {
    std::string out = sys::Narrow(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

TEST(Modules, LoadsByPathAndFindsRoutinesByName) {
    sys::ModuleHandle module = sys::LoadLibrary(ColourStandIn());
    ASSERT_NE(nullptr, module) << sys::Narrow(ColourStandIn()) << " error " << sys::GetLastError();
    EXPECT_NE(nullptr, sys::GetProcAddress(module, "SCBB_ConvertBulk"));
    EXPECT_NE(nullptr, sys::GetProcAddress(module, "SC_GetProfileInfo"));
    sys::SetLastError(0);
    EXPECT_EQ(nullptr, sys::GetProcAddress(module, "SCBB_NoSuchRoutine"));
    EXPECT_EQ(sys::kErrorProcNotFound, sys::GetLastError());
    // Exported by their plain names, not decorated standard-call names.
    EXPECT_EQ(nullptr, sys::GetProcAddress(module, "_SCBB_ConvertBulk@12"));
    EXPECT_TRUE(sys::FreeLibrary(module));
}

TEST(Modules, NamesMatchWithoutRegardToCaseAndLoadsAreCounted) {
    sys::WString upper = ColourStandIn();
    for (char16_t& c : upper)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    sys::ModuleHandle first = sys::LoadLibrary(ColourStandIn());
    sys::ModuleHandle second = sys::LoadLibrary(upper);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, second);
    EXPECT_TRUE(sys::FreeLibrary(second));
    // Still loaded for the first user.
    using Count = uint32_t(ZEBL_STDCALL*)();
    auto count = reinterpret_cast<Count>(sys::GetProcAddress(first, "StandIn_TableBuildCount"));
    ASSERT_NE(nullptr, count);
    EXPECT_EQ(0u, count());
    EXPECT_TRUE(sys::FreeLibrary(first));
}

TEST(Modules, MissingAndInvalidModulesFailWithTheirErrors) {
    zebl_test::TempFolder temp;
    sys::SetLastError(0);
    EXPECT_EQ(nullptr, sys::LoadLibrary(temp.Join(u"Missing.DLL")));
    EXPECT_EQ(sys::kErrorModNotFound, sys::GetLastError());

    const std::string notAModule = "this is text, not a module\n";
    ASSERT_TRUE(zebl_test::WriteFileBytes(temp.Join(u"Text.DLL"), notAModule.data(), notAModule.size()));
    sys::SetLastError(0);
    EXPECT_EQ(nullptr, sys::LoadLibrary(temp.Join(u"Text.DLL")));
    EXPECT_EQ(sys::kErrorBadExeFormat, sys::GetLastError());

    EXPECT_EQ(nullptr, sys::GetProcAddress(nullptr, "SCBB_ConvertBulk"));
    EXPECT_FALSE(sys::FreeLibrary(nullptr));
}

TEST(Modules, OwnModuleFileNameIsThisProgram) {
    const sys::WString own = sys::GetOwnModuleFileName();
    const std::string name = Lower(own.substr(own.find_last_of(u"\\/") + 1));
#if defined(_WIN32)
    EXPECT_EQ("sys_tests.exe", name);
#else
    EXPECT_EQ("sys_tests", name);
#endif
    EXPECT_NE(sys::kInvalidAttributes, sys::GetFileAttributes(own));
}

// Folder separators as Windows writes them, for comparing paths.
std::string Normalised(sys::WStringView path) {
    std::string out = Lower(path);
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

TEST(Modules, ModuleFileNameContainingNamesTheModuleThatHoldsTheAddress) {
    // A routine of a loaded module names that module, not the program and
    // not the system layer that answers.
    sys::ModuleHandle module = sys::LoadLibrary(ColourStandIn());
    ASSERT_NE(nullptr, module);
    const void* routine = sys::GetProcAddress(module, "SCBB_ConvertBulk");
    ASSERT_NE(nullptr, routine);
    const sys::WString name = sys::GetModuleFileNameContaining(routine);
    EXPECT_EQ(Normalised(ColourStandIn()), Normalised(name));
    EXPECT_TRUE(sys::FreeLibrary(module));

    // Code and data of this program name the program, like the helper does.
    static const int kProgramData = 1;
    EXPECT_EQ(sys::GetOwnModuleFileName(), sys::GetModuleFileNameContaining(&kProgramData));
    EXPECT_EQ(sys::GetOwnModuleFileName(),
              sys::GetModuleFileNameContaining(reinterpret_cast<const void*>(&Lower)));

    // Memory that belongs to no module names nothing.
    const std::vector<char> heap(64);
    for (const void* address : {static_cast<const void*>(nullptr), static_cast<const void*>(heap.data())}) {
        sys::SetLastError(0);
        EXPECT_EQ(sys::WString(), sys::GetModuleFileNameContaining(address));
        EXPECT_EQ(sys::kErrorModNotFound, sys::GetLastError());
    }
}

TEST(Modules, SystemDirectoryIsAnExistingFolderWithoutTrailingSeparator) {
    const sys::WString folder = sys::GetSystemDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(u'\\', folder.back());
    EXPECT_EQ("system32", Lower(folder.substr(folder.find_last_of(u'\\') + 1)));
    const uint32_t attributes = sys::GetFileAttributes(folder);
    ASSERT_NE(sys::kInvalidAttributes, attributes);
    EXPECT_NE(0u, attributes & sys::kAttrDirectory);
}

}  // namespace
