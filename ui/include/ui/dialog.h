// Modal dialogs bound to a template in a module's resources. A dialog runs
// until a handler ends it with a result, which DoModal returns.
//
// Headless, nobody clicks: the dialog's name is a question of the answer
// script (detail "template=<id>"), whose answer is the result; a dialog
// that the script does not answer is cancelled (kIdCancel).
#pragma once

#include <string>

#include "sys/modules.h"

namespace ui {

class CDialog {
public:
    // `name` says which dialog this is to the answer script and the log.
    CDialog(sys::ModuleHandle resources, int templateId, std::string name);
    virtual ~CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Shows the dialog with no owner and returns its result; -1 when the
    // template cannot be shown.
    int DoModal();

    const std::string& Name() const { return name_; }
    int TemplateId() const { return templateId_; }
    sys::ModuleHandle Resources() const { return resources_; }

protected:
    // The controls exist; fill them. Returning true gives the first control
    // the focus.
    virtual bool OnInitDialog() { return true; }
    // A button or menu command; the default ends the dialog with Ok and
    // Cancel as their results.
    virtual void OnCommand(int id);
    void EndDialog(int result);

private:
    friend struct DialogDriver;
    sys::ModuleHandle resources_;
    int templateId_;
    std::string name_;
    void* window_ = nullptr;  // while the Win32 dialog shows
};

}  // namespace ui
