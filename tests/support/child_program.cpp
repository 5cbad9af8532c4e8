// A program for the process and shell tests to start:
//
//     zebl_test_child [--sleep MS] [--command-line FILE] [--set-value KEY NAME] EXIT_CODE
//
// waits MS milliseconds, appends the command line it was given (as the
// system layer reports it) and a line end to FILE, sets the string value
// NAME of HKEY_CURRENT_USER\KEY (creating the key) a few times over, then
// exits with EXIT_CODE.
#include <cstdlib>
#include <cstring>
#include <string>

#include "sys/clock.h"
#include "sys/process.h"
#include "sys/registry.h"
#include "sys/text_files.h"

int main(int argc, char** argv) {
    int exitCode = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--sleep") == 0 && i + 1 < argc) {
            sys::Sleep(static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10)));
        } else if (std::strcmp(argv[i], "--command-line") == 0 && i + 1 < argc) {
            sys::AppendTextLine(sys::FromCodePage(argv[++i]), sys::Narrow(sys::GetCommandLine()) + "\n");
        } else if (std::strcmp(argv[i], "--set-value") == 0 && i + 2 < argc) {
            const sys::WString key = sys::FromCodePage(argv[++i]);
            const sys::WString name = sys::FromCodePage(argv[++i]);
            for (int round = 0; round < 5; ++round) {
                sys::RegistryKey opened =
                    sys::RegistryKey::Create(sys::RegistryRoot::kCurrentUser, key, sys::kKeyAllAccess);
                if (!opened.SetString(name, name + u" " + sys::Widen(std::to_string(round)))) exitCode = 100;
            }
            if (exitCode == 100) return 100;
        } else {
            exitCode = static_cast<int>(std::strtol(argv[i], nullptr, 10));
        }
    }
    return exitCode;
}
