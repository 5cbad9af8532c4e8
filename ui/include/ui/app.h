// The application object of our programs: one per process, constructed
// before the program's entry runs it. The program's work happens in
// InitInstance; when that returns false, the run ends at once with
// ExitInstance and no message loop (the way Setup works); when it returns
// true, the thread's messages are dispatched until the program quits.
#pragma once

#include "sys/text.h"

namespace ui {

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The application object of this process; null before one exists.
    static CWinApp* Current();

    // InitInstance, the message loop when it asks for one, ExitInstance.
    // Returns ExitInstance's result, the program's exit code.
    int Run();

    virtual bool InitInstance() = 0;
    virtual int ExitInstance() { return 0; }

    // The power message (battery, suspend) reached the program's window.
    virtual void OnPower() {}
};

}  // namespace ui
