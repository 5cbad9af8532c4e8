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
#include "sys/paths.h"

namespace {

using zebl_test::StandInFolder;

sys::WString ColourStandIn() { return StandInFolder() + u"\\Tzqr4CM.DLL"; }

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
    const sys::WStringView name = sys::FileNameOf(own);
#if defined(_WIN32)
    EXPECT_TRUE(sys::EqualsIgnoreCase(name, u"sys_tests.exe")) << sys::Narrow(name);
#else
    EXPECT_EQ(name, u"sys_tests");
#endif
    EXPECT_NE(sys::kInvalidAttributes, sys::GetFileAttributes(own));
}

// Folder separators as Windows writes them, for comparing paths.
sys::WString Normalised(sys::WStringView path) {
    sys::WString out(path);
    for (char16_t& c : out)
        if (c == u'/') c = u'\\';
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
    EXPECT_TRUE(sys::EqualsIgnoreCase(Normalised(ColourStandIn()), Normalised(name)))
        << sys::Narrow(ColourStandIn()) << " / " << sys::Narrow(name);
    EXPECT_TRUE(sys::FreeLibrary(module));

    // Code and data of this program name the program, like the helper does.
    static const int kProgramData = 1;
    EXPECT_EQ(sys::GetOwnModuleFileName(), sys::GetModuleFileNameContaining(&kProgramData));
    EXPECT_EQ(sys::GetOwnModuleFileName(),
              sys::GetModuleFileNameContaining(reinterpret_cast<const void*>(&Normalised)));

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
    EXPECT_TRUE(sys::EqualsIgnoreCase(sys::FileNameOf(folder), u"system32")) << sys::Narrow(folder);
    const uint32_t attributes = sys::GetFileAttributes(folder);
    ASSERT_NE(sys::kInvalidAttributes, attributes);
    EXPECT_NE(0u, attributes & sys::kAttrDirectory);
}

}  // namespace
