#include "key_filter.h"

namespace vlauto {

bool MySwallowsKey(const ui::KeyMessage& key) {
    if (key.message == ui::kWmKeyDown)
        return key.virtualKey == ui::kVkEscape || key.virtualKey == ui::kVkCancel ||
               key.virtualKey == ui::kVkF4;
    return key.message == ui::kWmSysKeyDown && key.virtualKey == ui::kVkF4;
}

}  // namespace vlauto
