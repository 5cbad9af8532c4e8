// What the tests that start Setup as a process share: a clean machine (the
// package not installed), the trace switched on into the test's folder, and
// the trace read back after the run.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/temp_folder.h"
#include "sys/environment.h"
#include "sys/files.h"
#include "sys/registry.h"

namespace zebl_test {

inline constexpr char16_t kSetupUninstallKey[] =
    u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zebl LP-2400";

class SetupRunTest : public TempFolderTest {
protected:
    void SetUp() override {
        tracePath_ = temp_.Join(u"setup-trace.txt");
        savedTrace_ = sys::GetEnvironmentVariable(u"ZEBL_SETUP_TRACE");
        sys::SetEnvironmentVariable(u"ZEBL_SETUP_TRACE", tracePath_);
        sys::RegDeleteKey(sys::RegistryRoot::kLocalMachine, kSetupUninstallKey);
    }
    void TearDown() override {
        sys::SetEnvironmentVariable(u"ZEBL_SETUP_TRACE", savedTrace_);
        sys::RegDeleteKey(sys::RegistryRoot::kLocalMachine, kSetupUninstallKey);
    }

    // The trace Setup wrote so far.
    std::string Trace() const {
        sys::File file = sys::File::OpenExisting(tracePath_, false, sys::Share::ReadWrite);
        std::string bytes;
        char chunk[4096];
        uint32_t got = 0;
        while (file.IsOpen() && file.Read(chunk, sizeof chunk, &got) && got > 0) bytes.append(chunk, got);
        return bytes;
    }

    sys::WString tracePath_;
    std::optional<sys::WString> savedTrace_;
};

}  // namespace zebl_test
