#include "record_text.h"

#include <cstdio>

namespace outside {
namespace {

std::string Quoted(std::string_view text) { return '"' + std::string(text) + '"'; }

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

}  // namespace

std::string QuotedArgument(const char* text, size_t limit) {
    if (text == nullptr) return "null";
    size_t length = 0;
    while (length < limit && text[length] != 0) ++length;
    return Quoted(std::string_view(text, length));
}

std::vector<std::string> SlotTexts(const InstallInfoText (&slots)[kInstallInfoSlots]) {
    std::vector<std::string> names;
    for (const InstallInfoText& slot : slots)
        if (const std::string_view name = RecordText(slot); !name.empty()) names.emplace_back(name);
    return names;
}

std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) joined += (joined.empty() ? "" : "|") + name;
    return joined;
}

std::vector<std::string> SplitNames(std::string_view joined) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= joined.size()) {
        size_t end = joined.find('|', start);
        if (end == std::string_view::npos) end = joined.size();
        if (end > start) names.emplace_back(joined.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

std::string DescribeRecord(const InstallInfo& record) {
    std::string text = "mode=" + std::to_string(record.nSetupMode);
    text += " os=" + std::to_string(record.nOSVersion);
    text += " maker=" + Quoted(RecordText(record.szManufacture));
    text += " model=" + Quoted(RecordText(record.szModelName));
    text += " product=" + Quoted(RecordText(record.szProductName));
    text += " language=" + Quoted(RecordText(record.szLanguage));
    text += " setup=" + Quoted(RecordText(record.szSetupDirectory));
    text += " local=" + Quoted(RecordText(record.szLocalDirectory));
    text += " exe=" + Quoted(RecordText(record.szExeName));
    text += " components=" + Quoted(JoinNames(SlotTexts(record.pCompnet)));
    text += " selection=" + Quoted(JoinNames(SlotTexts(record.pSelectionComponent)));
    text += " pnp=" + Quoted(RecordText(record.szPnpId));
    text += " etc=" + Hex(record.hEtcDll);
    text += " fcs=" + Hex(record.hFcsDll);
    text += " auto=" + Hex(record.hAutoDll);
    text += " wizardfn=" + Hex(record.pfnRemoveHardwareWizardDialog);
    return text;
}

}  // namespace outside
