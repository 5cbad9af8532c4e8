#include "data/fixed_text.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace setup {
namespace {

bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

void StoreText(char* field, size_t size, sys::WStringView text) {
    if (size == 0) return;
    std::memset(field, 0, size);
    // Every character takes at least one byte in any code page, so no more
    // than size - 1 units can fit; drop whole characters until the bytes do.
    text = text.substr(0, std::min(text.size(), size - 1));
    std::string bytes = sys::ToCodePage(text);
    while (bytes.size() > size - 1) {
        text.remove_suffix(text.size() >= 2 && IsLowSurrogate(text.back()) ? 2 : 1);
        bytes = sys::ToCodePage(text);
    }
    std::copy(bytes.begin(), bytes.end(), field);
}

sys::WString LoadText(const char* field, size_t size) {
    const size_t length = static_cast<size_t>(std::find(field, field + size, '\0') - field);
    return sys::FromCodePage(std::string_view(field, length));
}

}  // namespace setup
