// Svcman.exe, the stand-in of the package's service installer that the
// setup program starts hidden on the NT family ("Svcman.exe /add_vecp") to
// register the virtual COM port driver. It installs nothing: the start is a
// named question of the answer script (setup_calls/call_answer.h) whose
// detail is the command line's arguments and whose answer is the exit code.
#include <string>

#include "../setup_calls/call_answer.h"
#include "../setup_calls/command_line.h"
#include "sys/process.h"

int main() {
    const std::string commandLine = sys::ToCodePage(sys::GetCommandLine());
    return outside::AskCallNumber("Svcman", outside::ArgumentsOf(commandLine), 0);
}
