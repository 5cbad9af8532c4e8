// The installed printer drivers, in both builds (the spooler under Wine).
#include "sys/printer_drivers.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/temp_folder.h"
#include "sys/last_error.h"
#include "sys/printer_setup.h"

namespace {

bool Listed(const sys::WString& name) {
    std::vector<sys::WString> names;
    EXPECT_TRUE(sys::EnumPrinterDriverNames(&names)) << "error " << sys::GetLastError();
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(PrinterDrivers, AnAddedDriverIsListedUntilItIsDeleted) {
    zebl_test::TempFolder unique;
    const sys::WString name = u"ZEBL Test Driver " + unique.UniqueTag();
    EXPECT_FALSE(Listed(name));
    ASSERT_TRUE(sys::AddPrinterDriver(name)) << "error " << sys::GetLastError();
    EXPECT_TRUE(Listed(name));
    ASSERT_TRUE(sys::DeletePrinterDriver(name)) << "error " << sys::GetLastError();
    EXPECT_FALSE(Listed(name));
}

}  // namespace
