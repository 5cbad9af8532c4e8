// The setup trace: silent without a trace file, every call a line with one.
#include "common/trace.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/temp_folder.h"
#include "sys/diagnostics.h"
#include "sys/environment.h"
#include "sys/files.h"
#include "sys/last_error.h"
#include "sys/text_files.h"

namespace {

// Sets ZEBL_SETUP_TRACE for one test and puts the old value back.
class TraceTest : public zebl_test::TempFolderTest {
protected:
    TraceTest() : saved_(sys::GetEnvironmentVariable(u"ZEBL_SETUP_TRACE")) {}
    ~TraceTest() override { sys::SetEnvironmentVariable(u"ZEBL_SETUP_TRACE", saved_); }

    void TraceTo(const std::optional<sys::WString>& file) {
        sys::SetEnvironmentVariable(u"ZEBL_SETUP_TRACE", file);
    }
    std::string TraceText() const {
        std::string text;
        sys::ReadTextFile(log_, &text);
        return text;
    }

    const std::optional<sys::WString> saved_;
    const sys::WString log_ = temp_.Join(u"setup trace.log");
};

TEST_F(TraceTest, SilentWithoutATraceFile) {
    TraceTo(sys::WString());  // set but empty counts as not set
    MyTrace("InitInstance Start %s %d", "never", 1);
    MyTraceLastError(5, "tag");
    EXPECT_EQ(sys::PathKind::Missing, sys::GetPathKind(log_));
}

TEST_F(TraceTest, EachCallAppendsItsFormattedTextAsALine) {
    TraceTo(log_);
    MyTrace("       Setup Mode is %s", "Install mode");
    MyTrace("\n\nCreate process command line is => \n %s\n\n", "x.exe /P");
    MyTrace("%s", std::string(5000, 'x').c_str());  // far longer than a usual line
    EXPECT_EQ("       Setup Mode is Install mode\n\n\nCreate process command line is => \n x.exe /P\n\n" +
                  std::string(5000, 'x') + "\n",
              TraceText());
}

TEST_F(TraceTest, TheLastErrorLineCarriesTheTagAndTheSystemText) {
    TraceTo(log_);
    MyTraceLastError(2, "CreateWindow");
    EXPECT_EQ("[CreateWindow]" + sys::ErrorText(2) + "\n", TraceText());
}

}  // namespace
