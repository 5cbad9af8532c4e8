#include "init_description.h"

#include <string>

#include "autorun_dialog.h"
#include "common/trace.h"
#include "ini_value.h"

namespace vlauto {
namespace {

// The choice is read into a 4-byte buffer; the alternative texts into
// 260-character ones.
constexpr uint32_t kChoiceBuffer = 4;
constexpr uint32_t kAlternativeBuffer = 260;

enum : int { kAlternativeDescription = 1, kStandardDescription = 2 };

// atoi: blanks, a sign and the leading digits; 0 when there are none.
int LeadingNumber(sys::WStringView text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == u' ' || text[at] == u'\t')) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+')) negative = text[at++] == u'-';
    int value = 0;
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9' && value < 100000; ++at)
        value = value * 10 + (text[at] - u'0');
    return negative ? -value : value;
}

// Upper-cased as CharUpper does for the letters the tests look for.
bool ContainsUpperCased(sys::WStringView text, sys::WStringView upper) {
    sys::WString folded(text);
    for (char16_t& c : folded)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return folded.find(upper) != sys::WString::npos;
}

bool HasPclPrinter(const InstallInfo& info, sys::WStringView setupData) {
    bool pcl = false;
    for (uint32_t slot = 0; slot < kInstallInfoSlots && info.pCompnet[slot][0] != '\0'; ++slot) {
        if (!ContainsUpperCased(RecordText(info.pCompnet[slot]), u"PRINT")) continue;
        const sys::WString key = u"ROOT_COMPONENT_" + sys::Widen(std::to_string(slot)) + u"_PRINTER_NAME";
        const sys::WString printer = MyGetIniValue(u"START", key, setupData);
        if (!printer.empty() && ContainsUpperCased(printer, u"PCL")) pcl = true;
    }
    return pcl;
}

}  // namespace

sys::WString MyGetInitDescription(const InstallInfo& info) {
    MyTrace("MyGetInitDescription Start");
    const sys::WString setupData = RecordText(info.szSetupDataFile);
    const sys::WString language = RecordText(info.szLanguageFile);
    const int choice =
        LeadingNumber(ReadIniText(u"START", u"CHANGE_WELCOME_DLG_INIT_STR", setupData, kChoiceBuffer));
    bool alternative = choice == kAlternativeDescription;
    if (choice != kAlternativeDescription && choice != kStandardDescription)
        alternative = HasPclPrinter(info, setupData);
    sys::WString description;
    if (alternative)
        description = ReadIniText(u"START", u"INIT_DISCRIPTION_1", language, kAlternativeBuffer) + u" " +
                      ReadIniText(u"START", u"INIT_DISCRIPTION_2", language, kAlternativeBuffer);
    else description = MyGetIniValue(u"START", u"INIT_DISCRIPTION", language);
    MyTrace("MyGetInitDescription End: %s", alternative ? "alternative" : "standard");
    return description;
}

}  // namespace vlauto
