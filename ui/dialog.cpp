#include "ui/dialog.h"

#include <utility>

#include "sys/message_box.h"

namespace ui {

CDialog::CDialog(sys::ModuleHandle resources, int templateId, std::string name)
    : resources_(resources), templateId_(templateId), name_(std::move(name)) {}

void CDialog::OnCommand(int id) {
    if (id == sys::kIdOk || id == sys::kIdCancel) EndDialog(id);
}

}  // namespace ui
