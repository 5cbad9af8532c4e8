// Setup's command line: the arguments after a quoted or plain program path,
// and the uninstall switch among them.
#include <gtest/gtest.h>

#include "app/command_line.h"

namespace {

using setup::ArgumentsOf;
using setup::ForcesUninstall;

struct CommandLineCase {
    const char16_t* commandLine;
    const char16_t* arguments;
    int forcesUninstall;
};

class SetupCommandLine : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(SetupCommandLine, ArgumentsFollowTheProgramAndOnlyASlashOrHyphenWithUForcesRemoval) {
    const CommandLineCase& c = GetParam();
    EXPECT_EQ(sys::WStringView(c.arguments), ArgumentsOf(c.commandLine));
    EXPECT_EQ(c.forcesUninstall, ForcesUninstall(ArgumentsOf(c.commandLine)));
}

INSTANTIATE_TEST_SUITE_P(Lines, SetupCommandLine,
                         ::testing::Values(CommandLineCase{u"D:\\Setup.exe", u"", 0},
                                           CommandLineCase{u"D:\\Setup.exe /U", u" /U", 1},
                                           CommandLineCase{u"\"D:\\My Disc\\Setup.exe\" -u", u" -u", 1},
                                           // The quoted path's blanks and slashes are no switch.
                                           CommandLineCase{u"\"D:\\My /U Disc\\Setup.exe\"", u"", 0},
                                           CommandLineCase{u"  D:\\Setup.exe   /u extra", u"   /u extra", 1},
                                           CommandLineCase{u"D:\\Setup.exe /X", u" /X", 0},
                                           CommandLineCase{u"D:\\Setup.exe U", u" U", 0},
                                           CommandLineCase{u"D:\\Setup.exe /", u" /", 0},
                                           // The switch must come first.
                                           CommandLineCase{u"D:\\Setup.exe x /U", u" x /U", 0},
                                           // An unclosed quote takes the whole line.
                                           CommandLineCase{u"\"D:\\Setup.exe /U", u"", 0},
                                           CommandLineCase{u"", u"", 0}));

}  // namespace
