// Case-insensitive names. Windows compares file names through the volume's
// upper-case table and profile and printer names through the same Unicode
// case mapping; the names this package uses are ASCII, Latin-1, Greek and
// Cyrillic, whose simple one-to-one pairs are folded here.
#include <algorithm>

#include "sys/text.h"

namespace sys {

char16_t FoldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;     // Latin-1 (not the sign x)
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;  // Greek
    if (c >= 0x410 && c <= 0x42F) return c + 32;                // Cyrillic A to Ya
    if (c >= 0x400 && c <= 0x40F) return c + 80;                // Cyrillic Ie grave to Dzhe
    return c;
}

bool EqualsIgnoreCase(WStringView a, WStringView b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

int CompareIgnoreCase(WStringView a, WStringView b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const char16_t x = FoldCase(a[i]), y = FoldCase(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool EndsWithIgnoreCase(WStringView text, WStringView suffix) {
    return text.size() >= suffix.size() && EqualsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace sys
