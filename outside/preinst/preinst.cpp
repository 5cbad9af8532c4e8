// Preinst.dll, the stand-in of the package's pre-install hook: the call is a
// named question of the answer script (setup_calls/call_answer.h) whose
// detail is the parameter string the setup program built.
#include "../export.h"
#include "../setup_calls/call_answer.h"
#include "../setup_calls/record_text.h"
#include "formats/setup_libraries.h"

ZEBL_EXPORT int ZEBL_STDCALL Preinstall(const char* parameters) {
    return outside::AskCallNumber("Preinstall", "parameters=" + outside::QuotedArgument(parameters), 1);
}
