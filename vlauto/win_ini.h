// The values the other utility reads from win.ini, written before it starts.
#pragma once

#include "formats/install_info.h"

namespace vlauto {

// Section "Settings" of "Win.ini": ModelName = szProductName; then
// "SmartMedia", "EMail" and "Fax" copied from the setup data's DOCKWAVE
// section, each deleted when its value there is empty.
void MyWriteWinIni(const InstallInfo& info);

}  // namespace vlauto
