// A disc for the autorun menu's tests in a test's own folder (setup data,
// the chosen and the system language files, Autorun.Inf, a utility, the
// manuals, a reader installer), the record that points at it, and runs of
// the menu over headless views whose every state the tests then read.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "formats/install_info.h"
#include "support/answer_script.h"
#include "support/temp_folder.h"
#include "ui/headless_dialog_view.h"

namespace ui {
// Rectangles print as left, top, right, bottom in failure messages.
inline std::ostream& operator<<(std::ostream& os, const Rect& rect) {
    return os << "{" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << "}";
}
}  // namespace ui

namespace zebl_test {

// Names parameterised cases by their `name` field.
struct CaseName {
    template <typename Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& param) const {
        return param.param.name;
    }
};

class AutoRunTest : public TempFolderTest {
protected:
    void SetUp() override;

    sys::WString Disc(sys::WStringView relative) const;
    void WriteDiscFile(sys::WStringView relative, std::string_view bytes) const;
    void SetSetupValue(const char* section, const char* key, const char* value) const;
    void SetLanguageValue(const char* section, const char* key, const char* value) const;
    // Sets a record text.
    static void SetText(InstallInfoText& field, const std::string& text);
    // Fills the component slots with these names, the multi-language flags beside.
    void SetComponents(const std::vector<std::pair<const char*, int>>& components);

    // Runs SdAutoRunDlg's menu with `rules` answering (a ShellExecute that no
    // rule answers opens nothing and gives 42, success).
    int Run(int maintenance, const std::string& rules);

    // The views made during the run, in order, and those of one template
    // that were shown.
    std::vector<std::shared_ptr<ui::HeadlessDialogView>> Shown(int templateId) const;
    // The last shown welcome dialog (fails the test when none showed).
    const ui::HeadlessDialogView& Welcome() const;
    const ui::HeadlessDialogView::Control& Control(const ui::HeadlessDialogView& view, int id) const;
    std::vector<AskedQuestion> Asked(const std::string& name) const;

    InstallInfo info_{};
    std::unique_ptr<AnswerScript> script_;
    std::vector<std::pair<int, std::shared_ptr<ui::HeadlessDialogView>>> views_;
    // Run before each view is made, with the number of views made so far.
    std::function<void(size_t)> beforeView_;
};

}  // namespace zebl_test
