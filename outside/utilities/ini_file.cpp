#include "ini_file.h"

#include <string>
#include <vector>

#include "sys/files.h"

namespace tzqr4su {
namespace {

constexpr uint32_t kMaxIniBytes = 1 << 20;

char16_t FoldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + 32 : c; }

bool EqualIgnoringCase(sys::WStringView a, sys::WStringView b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r'; }

sys::WStringView Trim(sys::WStringView text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

sys::WStringView Unquote(sys::WStringView value) {
    if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"')
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

std::optional<sys::WString> FindIniValue(sys::WStringView iniText, sys::WStringView section,
                                         sys::WStringView key) {
    bool inSection = false;
    size_t start = 0;
    while (start < iniText.size()) {
        size_t end = iniText.find(u'\n', start);
        if (end == sys::WStringView::npos) end = iniText.size();
        const sys::WStringView line = Trim(iniText.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == u';' || line.front() == u'#') continue;
        if (line.front() == u'[') {
            const size_t close = line.find(u']');
            inSection = close != sys::WStringView::npos &&
                        EqualIgnoringCase(Trim(line.substr(1, close - 1)), section);
            continue;
        }
        const size_t equals = line.find(u'=');
        if (!inSection || equals == sys::WStringView::npos) continue;
        if (EqualIgnoringCase(Trim(line.substr(0, equals)), key))
            return sys::WString(Unquote(Trim(line.substr(equals + 1))));
    }
    return std::nullopt;
}

sys::WString ReadIniText(sys::WStringView path) {
    sys::File file = sys::File::OpenExisting(path, false, sys::Share::ReadWrite);
    if (!file.IsOpen()) return sys::WString();
    std::vector<unsigned char> bytes;
    unsigned char chunk[4096];
    uint32_t got = 0;
    while (file.Read(chunk, sizeof chunk, &got) && got > 0) {
        if (bytes.size() + got > kMaxIniBytes) return sys::WString();
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        sys::WString text;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            text += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
        return text;
    }
    size_t skip = 0;
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) skip = 3;
    return sys::Widen(std::string_view(reinterpret_cast<const char*>(bytes.data()) + skip,
                                       bytes.size() - skip));
}

}  // namespace tzqr4su
