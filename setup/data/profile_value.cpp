#include "data/profile_value.h"

#include <string>
#include <vector>

#include "data/language_table.h"
#include "sys/code_pages.h"
#include "sys/paths.h"
#include "sys/profile_bytes.h"

namespace setup {
namespace {

void ReplaceAll(sys::WString& text, sys::WStringView from, sys::WStringView to) {
    for (size_t at = text.find(from); at != sys::WString::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

}  // namespace

uint32_t DataFileCodePage(sys::WStringView file) {
    const sys::WStringView name = sys::FileNameOf(file);
    constexpr sys::WStringView kPrefix = u"Lang_";
    constexpr sys::WStringView kSuffix = u".Dat";
    if (name.size() <= kPrefix.size() + kSuffix.size() ||
        !sys::EqualsIgnoreCase(name.substr(0, kPrefix.size()), kPrefix) ||
        !sys::EndsWithIgnoreCase(name, kSuffix))
        return sys::kCodePageSystem;
    const sys::WStringView abbreviation =
        name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    return LanguageCodePage(sys::Narrow(abbreviation));
}

sys::WString ReadDataValue(sys::WStringView section, sys::WStringView key, sys::WStringView file,
                           uint32_t bufferSize) {
    std::vector<char> buffer(bufferSize, '\0');
    const uint32_t length = sys::GetPrivateProfileStringBytes(sys::ToCodePage(section), sys::ToCodePage(key),
                                                              "", buffer.data(), bufferSize, file);
    return sys::DecodeCodePage(std::string_view(buffer.data(), length), DataFileCodePage(file));
}

sys::WString ExpandDataText(sys::WStringView text, sys::WStringView language) {
    sys::WString expanded(text);
    ReplaceAll(expanded, u"\\n", u"\n");
    if (!language.empty()) ReplaceAll(expanded, u"%LANG_ABBR%", language);
    return expanded;
}

}  // namespace setup
