#include <charconv>
#include <utility>

#include "sys/answer_script.h"
#include "sys/message_box.h"
#include "ui/headless_dialog_view.h"

namespace ui {
namespace {

// MulDiv's rounding for the non-negative values of a template.
int32_t Scale(int32_t value, int32_t numerator, int32_t denominator) {
    return (value * numerator + denominator / 2) / denominator;
}

std::string Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

bool ParseId(std::string_view text, int& id) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    return error == std::errc() && end == text.data() + text.size();
}

struct NamedKey {
    const char* name;
    KeyMessage key;
};
constexpr NamedKey kKeys[] = {
    {"escape", {kWmKeyDown, kVkEscape}},
    {"ctrl+break", {kWmKeyDown, kVkCancel}},
    {"f4", {kWmKeyDown, kVkF4}},
    {"alt+f4", {kWmSysKeyDown, kVkF4}},
};

// The dialog manager closes a dialog on Escape and Ctrl+Break, and the
// system menu's Close (Alt+F4) does the same.
bool ClosesDialog(const KeyMessage& key) {
    if (key.message == kWmKeyDown) return key.virtualKey == kVkEscape || key.virtualKey == kVkCancel;
    return key.message == kWmSysKeyDown && key.virtualKey == kVkF4;
}

}  // namespace

bool ScriptPlaysDialog(const DialogTemplate& dialogTemplate) {
    return sys::AnswerScriptActive() &&
           sys::AskQuestion("DialogView", dialogTemplate.name, "window") == "headless";
}

int32_t HeadlessDialogView::Control::FontWeight() const {
    if (imageButton) return normalWeight ? kNormalWeight : kBoldWeight;
    return hasFont ? font.weight : kNormalWeight;
}

Rect HeadlessDialogView::ToPixels(const DialogUnitRect& rect) {
    return {Scale(rect.x, kBaseUnitX, 4), Scale(rect.y, kBaseUnitY, 8),
            Scale(rect.x + rect.width, kBaseUnitX, 4), Scale(rect.y + rect.height, kBaseUnitY, 8)};
}

HeadlessDialogView::HeadlessDialogView(DialogTemplate dialogTemplate) : template_(std::move(dialogTemplate)) {
    for (const TemplateControl& control : template_.controls) {
        Control laidOut;
        laidOut.id = control.id;
        laidOut.rect = ToPixels(control.rect);
        controls_.push_back(std::move(laidOut));
    }
    const Rect client = ToPixels({0, 0, template_.width, template_.height});
    window_ = {0, 0, client.Width() + 2 * kFrame, client.Height() + 2 * kFrame + kCaption};
}

int HeadlessDialogView::DoModal(DialogEvents& events) {
    const std::string script =
        sys::AskQuestion(template_.name, "template=" + std::to_string(template_.id), std::string());
    if (Trim(script) == "cannot-create") {
        Note("cannot create");
        return -1;
    }
    running_ = true;
    result_ = -1;
    Note("init");
    events.OnInitDialog();
    PlayScript(events, script);
    if (running_) CloseByUser(events);
    if (running_) EndDialog(sys::kIdCancel);
    return result_;
}

void HeadlessDialogView::PlayScript(DialogEvents& events, const std::string& script) {
    size_t start = 0;
    while (running_ && start <= script.size()) {
        size_t end = script.find(';', start);
        if (end == std::string::npos) end = script.size();
        const std::string event = Trim(std::string_view(script).substr(start, end - start));
        if (!event.empty()) Play(events, event);
        start = end + 1;
    }
}

void HeadlessDialogView::Play(DialogEvents& events, const std::string& event) {
    Note("event " + event);
    const size_t blank = event.find(' ');
    const std::string verb = event.substr(0, blank);
    const std::string argument = blank == std::string::npos ? std::string() : Trim(event.substr(blank + 1));
    if (verb == "key") return PlayKey(events, argument);
    int id = 0;
    if (!ParseId(argument, id)) return Note("ignored: not a control identifier");
    Control* control = Reachable(id);
    if (control == nullptr) return;
    if (verb == "command") return events.OnCommand(id);
    if (!control->imageButton || control->button.notifyId == -1) return Note("ignored: notifies nothing");
    const int notifyId = control->button.notifyId;
    if (verb == "hover") events.OnButtonHover(notifyId);
    else if (verb == "leave") events.OnButtonLeave(notifyId);
    else if (verb == "click") events.OnButtonClicked(notifyId);
    else Note("ignored: unknown event");
}

void HeadlessDialogView::PlayKey(DialogEvents& events, const std::string& name) {
    for (const NamedKey& named : kKeys) {
        if (name != named.name) continue;
        if (events.PreTranslateKey(named.key)) return Note("key swallowed");
        if (ClosesDialog(named.key)) events.OnCommand(sys::kIdCancel);
        return;
    }
    Note("ignored: unknown key");
}

HeadlessDialogView::Control* HeadlessDialogView::Reachable(int id) {
    Control* control = Find(id);
    if (control == nullptr) Note("ignored: no control " + std::to_string(id));
    else if (!control->visible) Note("ignored: hidden");
    else if (!control->enabled) Note("ignored: disabled");
    else return control;
    return nullptr;
}

void HeadlessDialogView::CloseByUser(DialogEvents& events) {
    Note("events done: closing");
    events.OnCommand(sys::kIdCancel);
}

void HeadlessDialogView::EndDialog(int result) {
    if (!running_) return;
    running_ = false;
    result_ = result;
    Note("end " + std::to_string(result));
}

WindowHandle HeadlessDialogView::Window() const {
    return running_ ? const_cast<HeadlessDialogView*>(this) : nullptr;
}

void HeadlessDialogView::SetCaption(sys::WStringView text) {
    caption_ = sys::WString(text);
    Note("caption " + sys::Narrow(text));
}

void HeadlessDialogView::SetControlText(int id, sys::WStringView text) {
    if (Control* control = Find(id)) control->text = sys::WString(text);
    Note("text " + std::to_string(id) + " " + sys::Narrow(text));
}

void HeadlessDialogView::ShowControl(int id, bool show) {
    if (Control* control = Find(id)) control->visible = show;
    Note((show ? "show " : "hide ") + std::to_string(id));
}

void HeadlessDialogView::EnableControl(int id, bool enable) {
    if (Control* control = Find(id)) control->enabled = enable;
    Note((enable ? "enable " : "disable ") + std::to_string(id));
}

Rect HeadlessDialogView::DialogWindowRect() const { return window_; }

Rect HeadlessDialogView::ControlWindowRect(int id) const {
    const Control* control = FindControl(id);
    if (control == nullptr) return {};
    const int32_t x = window_.left + kFrame;
    const int32_t y = window_.top + kFrame + kCaption;
    return {x + control->rect.left, y + control->rect.top, x + control->rect.right, y + control->rect.bottom};
}

void HeadlessDialogView::MoveControl(int id, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (Control* control = Find(id)) control->rect = {x, y, x + width, y + height};
    Note("move " + std::to_string(id) + " " + std::to_string(x) + "," + std::to_string(y) + " " +
         std::to_string(width) + "x" + std::to_string(height));
}

void HeadlessDialogView::SetControlFont(int id, const FontSpec& font) {
    if (Control* control = Find(id)) {
        control->hasFont = true;
        control->font = font;
    }
    Note("font " + std::to_string(id) + " " + sys::Narrow(font.face) + " " + std::to_string(font.height) +
         " " + std::to_string(font.weight));
}

void HeadlessDialogView::SetupImageButton(int id, const ImageButtonSetup& setup) {
    if (Control* control = Find(id)) {
        control->imageButton = true;
        control->button = setup;
        control->text = setup.text;
    }
    Note("image button " + std::to_string(id) + " notify " + std::to_string(setup.notifyId) + " " +
         sys::Narrow(setup.text));
}

void HeadlessDialogView::SetNormalWeight(int id, bool normalWeight) {
    if (Control* control = Find(id)) control->normalWeight = normalWeight;
    Note((normalWeight ? "normal weight " : "bold ") + std::to_string(id));
}

void HeadlessDialogView::DrawOnWhite(int id) {
    if (Control* control = Find(id)) control->onWhite = true;
    Note("on white " + std::to_string(id));
}

void HeadlessDialogView::PaintBitmap(int id, const std::string& bitmapName) {
    if (Control* control = Find(id)) control->bitmap = bitmapName;
    Note("bitmap " + std::to_string(id) + " " + bitmapName);
}

void HeadlessDialogView::CenterAndBringToForeground() {
    const int32_t width = window_.Width();
    const int32_t height = window_.Height();
    window_.left = (kScreenWidth - width) / 2;
    window_.top = (kScreenHeight - height) / 2;
    window_.right = window_.left + width;
    window_.bottom = window_.top + height;
    centred_ = true;
    foreground_ = true;
    Note("centred at " + std::to_string(window_.left) + "," + std::to_string(window_.top));
}

void HeadlessDialogView::DropAppWindowStyle() {
    appWindowStyleDropped_ = true;
    Note("app window style dropped");
}

int HeadlessDialogView::ShowMessageBox(sys::WStringView text, sys::WStringView caption, uint32_t style) {
    const int answer = sys::MessageBox(text, caption, style);
    Note("message box " + sys::Narrow(caption) + ": " + sys::Narrow(text) + " -> " + std::to_string(answer));
    return answer;
}

const HeadlessDialogView::Control* HeadlessDialogView::FindControl(int id) const {
    for (const Control& control : controls_)
        if (control.id == id && id != -1) return &control;
    return nullptr;
}

HeadlessDialogView::Control* HeadlessDialogView::Find(int id) {
    return const_cast<Control*>(std::as_const(*this).FindControl(id));
}

void HeadlessDialogView::Note(const std::string& line) { transcript_.push_back(line); }

}  // namespace ui
