// The welcome dialog's initial description: the text its description box
// shows while no button is under the pointer.
#pragma once

#include "formats/install_info.h"
#include "sys/text.h"

namespace vlauto {

// CHANGE_WELCOME_DLG_INIT_STR of the setup data's START section chooses: 1
// the alternative description, 2 the standard one; any other value the
// alternative one when a component whose name contains "PRINT" has a
// printer name (ROOT_COMPONENT_<slot>_PRINTER_NAME) containing "PCL", else
// the standard one. Standard: INIT_DISCRIPTION; alternative:
// INIT_DISCRIPTION_1 and INIT_DISCRIPTION_2 joined by a blank, read as they
// stand (no line breaks made).
sys::WString MyGetInitDescription(const InstallInfo& info);

}  // namespace vlauto
