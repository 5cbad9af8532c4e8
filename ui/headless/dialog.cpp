// Headless dialogs: the answer script plays the user.
#include <charconv>
#include <string>

#include "sys/answer_script.h"
#include "sys/message_box.h"
#include "ui/dialog.h"

namespace ui {

struct DialogDriver {
    static int Run(CDialog& dialog) {
        dialog.OnInitDialog();
        const std::string answer = sys::AskQuestion(
            dialog.Name(), "template=" + std::to_string(dialog.TemplateId()), std::to_string(sys::kIdCancel));
        int result = sys::kIdCancel;
        const auto [end, error] = std::from_chars(answer.data(), answer.data() + answer.size(), result);
        if (error != std::errc() || end != answer.data() + answer.size()) result = sys::kIdCancel;
        dialog.OnCommand(result);
        return result;
    }
};

int CDialog::DoModal() { return DialogDriver::Run(*this); }

// Headless, the answer already is the result; nothing stays open to end.
void CDialog::EndDialog(int) {}

}  // namespace ui
