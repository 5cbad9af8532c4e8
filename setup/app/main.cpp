// Setup: installs, repairs and removes the printer package from its disc.
#include "app/installer_app.h"
#include "sys/process.h"

int main() {
    setup::CInstallerApp application(sys::GetCommandLine());
    return application.Run();
}
