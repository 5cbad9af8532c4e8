#include "ui/app.h"

#include "message_loop.h"

namespace ui {
namespace {
CWinApp* g_application = nullptr;
}

CWinApp::CWinApp() { g_application = this; }

CWinApp::~CWinApp() {
    if (g_application == this) g_application = nullptr;
}

CWinApp* CWinApp::Current() { return g_application; }

int CWinApp::Run() {
    if (InitInstance()) RunMessageLoop();
    return ExitInstance();
}

}  // namespace ui
