// The library's entry point under Windows: remembers the instance, sets up
// UmpdSection and turns thread notifications off (the library keeps no
// per-thread state, and the spooler starts and ends threads often).
#include <windows.h>

// The module handle of this library, saved at load.
HINSTANCE hInst = nullptr;
// Set up at load for the spooler's user-mode driver interface; the library
// itself takes no lock (one document is driven by one thread).
CRITICAL_SECTION UmpdSection;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            hInst = instance;
            InitializeCriticalSection(&UmpdSection);
            DisableThreadLibraryCalls(instance);
            break;
        case DLL_PROCESS_DETACH: DeleteCriticalSection(&UmpdSection); break;
        default: break;
    }
    return TRUE;
}
