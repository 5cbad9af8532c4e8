// Names derived from the library's own file name: outside modules, the
// model base and the watermark files.
#include <gtest/gtest.h>

#include "pipeline/own_module.h"
#include "sys/modules.h"

namespace {

class OwnModuleTest : public ::testing::Test {
protected:
    void TearDown() override { fbOverrideOwnModulePath(u""); }
};

TEST_F(OwnModuleTest, ModulePathIsUpperCasedWithTheSuffixReplaced) {
    sys::WString path;
    ASSERT_TRUE(DeriveModulePath(u"C:\\WINDOWS\\System32\\spool\\drivers\\w32x86\\3\\Tzqr4um.dll", u"UM.DLL",
                                 u"CM.DLL", &path));
    EXPECT_EQ(u"C:\\WINDOWS\\SYSTEM32\\SPOOL\\DRIVERS\\W32X86\\3\\TZQR4CM.DLL", path);
    ASSERT_TRUE(DeriveModulePath(u"d:\\x\\tzqr4UM.Dll", u"UM.DLL", u"SU.DLL", &path));
    EXPECT_EQ(u"D:\\X\\TZQR4SU.DLL", path);

    path = u"unchanged";
    EXPECT_FALSE(DeriveModulePath(u"C:\\x\\Tzqr4um.drv", u"UM.DLL", u"CM.DLL", &path));
    EXPECT_FALSE(DeriveModulePath(u"C:\\um.dll\\zebl.exe", u"UM.DLL", u"CM.DLL", &path));
    EXPECT_FALSE(DeriveModulePath(u"", u"UM.DLL", u"CM.DLL", &path));
    EXPECT_FALSE(DeriveModulePath(u"C:\\x\\Tzqr4um.dll", u"", u"CM.DLL", &path));
    EXPECT_EQ(u"unchanged", path);
}

TEST_F(OwnModuleTest, ModelBaseIsTheFiveCharactersBeforeUmDll) {
    EXPECT_EQ(u"Tzqr4", ModelBaseOf(u"C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86\\3\\Tzqr4um.dll"));
    EXPECT_EQ(u"TZQR4", ModelBaseOf(u"C:\\X\\TZQR4UM.DLL"));
    EXPECT_EQ(u"inter", ModelBaseOf(u"C:\\X\\PrinterUm.Dll"));
    EXPECT_EQ(u"Tzqr4", ModelBaseOf(u"/usr/lib/zebl/Tzqr4um.dll"));
    EXPECT_EQ(u"", ModelBaseOf(u"C:\\X\\Tzqr4um.drv"));
    EXPECT_EQ(u"", ModelBaseOf(u"C:\\X\\modules_tests.exe"));
    EXPECT_EQ(u"", ModelBaseOf(u""));
    // Short names never borrow characters from the folder.
    EXPECT_EQ(u"ab", ModelBaseOf(u"C:\\longfolder\\abum.dll"));
    EXPECT_EQ(u"", ModelBaseOf(u"C:\\longfolder\\um.dll"));
}

TEST_F(OwnModuleTest, WatermarkFilesLieInTheSystemFolderUnderTheModelBase) {
    const sys::WString system = sys::GetSystemDirectory();
    ASSERT_FALSE(system.empty());
    sys::WString folder;
    ASSERT_EQ(1, fbStrGetSystemPath(&folder));
    EXPECT_EQ(system, folder);

    fbOverrideOwnModulePath(u"C:\\Drivers\\Tzqr4um.dll");
    sys::WString base, landscape, portrait;
    EXPECT_EQ(1, fbStrGetModelBase(&base));
    EXPECT_EQ(u"Tzqr4", base);
    ASSERT_EQ(1, fbStrGetWMFileNameL(&landscape));
    ASSERT_EQ(1, fbStrGetWMFileNameP(&portrait));
    EXPECT_EQ(system + u"\\Tzqr4.wml", landscape);
    EXPECT_EQ(system + u"\\Tzqr4.wmp", portrait);

    fbOverrideOwnModulePath(u"C:\\Drivers\\zebl.exe");
    EXPECT_EQ(0, fbStrGetModelBase(&base));
    EXPECT_EQ(u"", base);
    ASSERT_EQ(1, fbStrGetWMFileNameL(&landscape));
    EXPECT_EQ(system + u"\\.wml", landscape);
}

TEST_F(OwnModuleTest, ModuleFileNameIsCutToTheBufferAndAlwaysTerminated) {
    EXPECT_EQ(sys::GetOwnModuleFileName(), fbOwnModulePath());
    fbOverrideOwnModulePath(u"C:\\D\\Tzqr4um.dll");
    char16_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(4u, fbGetModuleFileName(buffer, 5));
    EXPECT_EQ(sys::WString(u"C:\\D"), sys::WString(buffer));
    EXPECT_EQ(u'#', buffer[5]) << "nothing written past the given size";
    char16_t whole[64];
    EXPECT_EQ(16u, fbGetModuleFileName(whole, 64));
    EXPECT_EQ(sys::WString(u"C:\\D\\Tzqr4um.dll"), sys::WString(whole));
    EXPECT_EQ(0u, fbGetModuleFileName(buffer, 0));
    EXPECT_EQ(0u, fbGetModuleFileName(nullptr, 5));
}

}  // namespace
