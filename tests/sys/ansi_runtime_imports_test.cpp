// The W functions that the static runtime imports, as a program that must
// start on Windows 95 gets them (zsys_ansi_runtime): they answer as the
// system's own do for every name the ANSI code page holds, and a name it
// cannot hold fails as an invalid name, where the system's W function would
// look for the module or make the semaphore. That failure is how this test
// knows it calls the A forms and not kernel32's W forms. Windows only.
#include <gtest/gtest.h>

#include <cstdint>

#include "formats/calling_convention.h"
#include "sys/last_error.h"
#include "sys/modules.h"

// Declared here as the runtime sees them (the test includes no Windows
// header): the import pointers they go through are the ones under test.
extern "C" {
__declspec(dllimport) void* ZEBL_STDCALL GetModuleHandleW(const wchar_t* name);
__declspec(dllimport) void* ZEBL_STDCALL LoadLibraryW(const wchar_t* name);
__declspec(dllimport) void* ZEBL_STDCALL
    CreateSemaphoreW(void* security, long initial, long maximum, const wchar_t* name);
__declspec(dllimport) int ZEBL_STDCALL CloseHandle(void* handle);
__declspec(dllimport) int ZEBL_STDCALL FreeLibrary(void* module);
}

namespace {

constexpr uint32_t kErrorInvalidName = 123;

// Tibetan, in no ANSI code page.
constexpr wchar_t kUnconvertibleModule[] = L"\u0F00\u0F01.dll";

struct SystemModule {
    const wchar_t* wide;
    const char16_t* name;
};

class AnsiRuntimeModule : public ::testing::TestWithParam<SystemModule> {};

TEST_P(AnsiRuntimeModule, IsFoundAndLoadedAsByTheSystemLayer) {
    const sys::ModuleHandle expected = sys::LoadLibrary(GetParam().name);
    ASSERT_NE(nullptr, expected);
    EXPECT_EQ(expected, GetModuleHandleW(GetParam().wide));
    void* loaded = LoadLibraryW(GetParam().wide);
    EXPECT_EQ(expected, loaded);
    FreeLibrary(loaded);
    sys::FreeLibrary(expected);
}

INSTANTIATE_TEST_SUITE_P(Names, AnsiRuntimeModule,
                         ::testing::Values(SystemModule{L"KERNEL32.DLL", u"KERNEL32.DLL"},
                                           SystemModule{L"kernel32", u"kernel32"},
                                           SystemModule{L"msvcrt.dll", u"msvcrt.dll"},
                                           SystemModule{L"user32.dll", u"USER32.DLL"}));

TEST(AnsiRuntimeImports, NoNameIsTheProgramItself) {
    EXPECT_NE(nullptr, GetModuleHandleW(nullptr));
    EXPECT_EQ(GetModuleHandleW(nullptr), GetModuleHandleW(nullptr));
}

TEST(AnsiRuntimeImports, ANameOutsideTheCodePageIsAnInvalidName) {
    sys::SetLastError(0);
    EXPECT_EQ(nullptr, GetModuleHandleW(kUnconvertibleModule));
    EXPECT_EQ(kErrorInvalidName, sys::GetLastError());
    sys::SetLastError(0);
    EXPECT_EQ(nullptr, LoadLibraryW(kUnconvertibleModule));
    EXPECT_EQ(kErrorInvalidName, sys::GetLastError());
    sys::SetLastError(0);
    EXPECT_EQ(nullptr, CreateSemaphoreW(nullptr, 0, 1, L"zebl\u0F00semaphore"));
    EXPECT_EQ(kErrorInvalidName, sys::GetLastError());
}

TEST(AnsiRuntimeImports, SemaphoresAreMadeWithAndWithoutANameInTheCodePage) {
    void* unnamed = CreateSemaphoreW(nullptr, 0, 1, nullptr);
    ASSERT_NE(nullptr, unnamed);
    void* named = CreateSemaphoreW(nullptr, 1, 1, L"zebl-ansi-runtime-test");
    ASSERT_NE(nullptr, named);
    // The same name again opens the same semaphore (ERROR_ALREADY_EXISTS).
    void* again = CreateSemaphoreW(nullptr, 1, 1, L"zebl-ansi-runtime-test");
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(183u, sys::GetLastError());
    CloseHandle(again);
    CloseHandle(named);
    CloseHandle(unnamed);
}

}  // namespace
