#include "autorun_dialog.h"

#include "dialog_templates.h"
#include "formats/setup_libraries.h"
#include "key_filter.h"
#include "results.h"
#include "sys/files.h"
#include "sys/modules.h"
#include "sys/object_tokens.h"

namespace vlauto {
namespace {

// The heading's font: every attribute not named is zero.
constexpr char16_t kHeadingFace[] = u"MS Sans Serif";
constexpr int32_t kHeadingWeight = 400;

// `upper` is upper-case ASCII; the record's text may be any bytes.
bool EqualsAsciiIgnoreCase(const char* text, const char* upper) {
    for (; *upper != '\0'; ++text, ++upper) {
        const char c = *text >= 'a' && *text <= 'z' ? static_cast<char>(*text - 'a' + 'A') : *text;
        if (c != *upper) return false;
    }
    return *text == '\0';
}

}  // namespace

sys::WString RecordText(const char* text) { return sys::FromCodePage(text); }

bool UsesNormalWeightText(const InstallInfo& info) {
    return EqualsAsciiIgnoreCase(info.szLanguage, "CT") || EqualsAsciiIgnoreCase(info.szLanguage, "CP");
}

int MyAskCancel(const InstallInfo& info) {
    void* module = sys::ObjectOf(info.hEtcDll);
    auto sdCancel =
        module != nullptr ? reinterpret_cast<SdCancelFn>(sys::GetProcAddress(module, "SdCancel")) : nullptr;
    if (sdCancel == nullptr) return kSdCancelLeave;
    return sdCancel(info);
}

bool MyPathExists(sys::WStringView path) { return !path.empty() && !sys::ListDirectory(path).empty(); }

CAutoRunDialog::CAutoRunDialog(ui::DialogView& view, const InstallInfo& info)
    : view_(view), info_(std::make_unique<InstallInfo>(info)) {}

bool CAutoRunDialog::PreTranslateKey(const ui::KeyMessage& key) { return MySwallowsKey(key); }

void CAutoRunDialog::PrepareWindow() {
    view_.CenterAndBringToForeground();
    if (Info().pBackgroundWnd != 0) view_.DropAppWindowStyle();
}

void CAutoRunDialog::PreparePainting(std::initializer_list<int> whiteControls) {
    view_.PaintBitmap(kIdPicture, kWelcomeBitmap);
    for (int id : whiteControls) view_.DrawOnWhite(id);
}

void CAutoRunDialog::SetupImageButton(int id, sys::WStringView text) {
    view_.SetupImageButton(id, {sys::WString(text), id, kOffButtonBitmap, kOnButtonBitmap,
                                kClickedButtonBitmap, kButtonTransparentColour});
}

void CAutoRunDialog::SetHeading(sys::WStringView text, int32_t fontHeight) {
    view_.SetControlText(kIdHeading, text);
    view_.SetControlFont(kIdHeading, {kHeadingFace, fontHeight, kHeadingWeight});
}

void CAutoRunDialog::OnCancelButton() {
    if (MyAskCancel(Info()) == kSdCancelLeave) view_.EndDialog(kResultLeave);
}

}  // namespace vlauto
