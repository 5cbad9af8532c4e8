// NETSETUP.EXE, the stand-in of the network tool's own installer, which the
// sample disc keeps in NetTool\<language folder>. It installs nothing: its
// start is a named question of the answer script (setup_calls/call_answer.h)
// whose detail names the language folder it was started from and its
// arguments, and whose answer is the exit code. The folder shows which
// language's tool the setup program chose.
#include <string>

#include "../setup_calls/call_answer.h"
#include "../setup_calls/command_line.h"
#include "sys/modules.h"
#include "sys/paths.h"
#include "sys/process.h"

namespace {

// The name of the folder that holds this program.
std::string OwnFolderName() {
    const sys::WString program = sys::GetOwnModuleFileName();
    return sys::ToCodePage(sys::FileNameOf(sys::FolderOf(program)));
}

}  // namespace

int main() {
    const std::string commandLine = sys::ToCodePage(sys::GetCommandLine());
    const std::string detail = "folder=\"" + OwnFolderName() + "\" arguments=\"" +
                               std::string(outside::ArgumentsOf(commandLine)) + "\"";
    return outside::AskCallNumber("NETSETUP", detail, 0);
}
