#include "data/language_table.h"

#include <array>

namespace setup {
namespace {

// Primary language ids are those of the Windows language ids (LANG_*); the
// code pages are the ANSI code pages Windows uses for each language.
// Armenian has none (Windows keeps it in Unicode only), so its files are
// read in the system's. Chinese other than Traditional (Taiwan) and
// Simplified (PRC), and every language not listed, use English.
constexpr std::array<LanguageRow, 46> kLanguages{{
    {1, kAnySubLanguage, "AB", 1256},   // Arabic
    {2, kAnySubLanguage, "BG", 1251},   // Bulgarian
    {3, kAnySubLanguage, "CA", 1252},   // Catalan
    {4, 1, "CT", 950},                  // Chinese, Traditional
    {4, 2, "CP", 936},                  // Chinese, Simplified
    {4, kAnySubLanguage, "EN", 1252},   // Chinese, other
    {5, kAnySubLanguage, "CZ", 1250},   // Czech
    {6, kAnySubLanguage, "DN", 1252},   // Danish
    {7, kAnySubLanguage, "GR", 1252},   // German
    {8, kAnySubLanguage, "EL", 1253},   // Greek
    {9, kAnySubLanguage, "EN", 1252},   // English
    {10, kAnySubLanguage, "SP", 1252},  // Spanish
    {11, kAnySubLanguage, "FI", 1252},  // Finnish
    {12, kAnySubLanguage, "FN", 1252},  // French
    {13, kAnySubLanguage, "HB", 1255},  // Hebrew
    {14, kAnySubLanguage, "HU", 1250},  // Hungarian
    {15, kAnySubLanguage, "IS", 1252},  // Icelandic
    {16, kAnySubLanguage, "IT", 1252},  // Italian
    {17, kAnySubLanguage, "JP", 932},   // Japanese
    {18, kAnySubLanguage, "KR", 949},   // Korean
    {19, kAnySubLanguage, "DT", 1252},  // Dutch
    {20, kAnySubLanguage, "NR", 1252},  // Norwegian
    {21, kAnySubLanguage, "PO", 1250},  // Polish
    {22, 2, "PT", 1252},                // Portuguese (Portugal)
    {22, kAnySubLanguage, "BP", 1252},  // Portuguese (Brazil)
    {24, kAnySubLanguage, "RO", 1250},  // Romanian
    {25, kAnySubLanguage, "RU", 1251},  // Russian
    {26, kAnySubLanguage, "HR", 1250},  // Croatian
    {27, kAnySubLanguage, "SK", 1250},  // Slovak
    {28, kAnySubLanguage, "SQ", 1250},  // Albanian
    {29, kAnySubLanguage, "SW", 1252},  // Swedish
    {30, kAnySubLanguage, "TI", 874},   // Thai
    {31, kAnySubLanguage, "TK", 1254},  // Turkish
    {32, kAnySubLanguage, "UR", 1256},  // Urdu
    {33, kAnySubLanguage, "IN", 1252},  // Indonesian
    {34, kAnySubLanguage, "UK", 1251},  // Ukrainian
    {35, kAnySubLanguage, "BE", 1251},  // Belarusian
    {36, kAnySubLanguage, "SL", 1250},  // Slovenian
    {37, kAnySubLanguage, "ET", 1257},  // Estonian
    {38, kAnySubLanguage, "LV", 1257},  // Latvian
    {39, kAnySubLanguage, "LT", 1257},  // Lithuanian
    {41, kAnySubLanguage, "FA", 1256},  // Farsi
    {42, kAnySubLanguage, "VI", 1258},  // Vietnamese
    {43, kAnySubLanguage, "HY", 0},     // Armenian
    {44, kAnySubLanguage, "AZ", 1254},  // Azeri
    {45, kAnySubLanguage, "EU", 1252},  // Basque
}};

bool SameAbbreviation(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
        if (upper(a[i]) != upper(b[i])) return false;
    }
    return true;
}

}  // namespace

std::span<const LanguageRow> LanguageTable() { return kLanguages; }

std::string_view LanguageAbbreviation(uint16_t languageId) {
    const uint16_t primary = languageId & 0x3FF;
    const int sub = languageId >> 10;
    for (const LanguageRow& row : kLanguages) {
        if (row.primaryLanguage == primary && (row.subLanguage == kAnySubLanguage || row.subLanguage == sub))
            return row.abbreviation;
    }
    return "EN";
}

uint32_t LanguageCodePage(std::string_view abbreviation) {
    for (const LanguageRow& row : kLanguages)
        if (SameAbbreviation(row.abbreviation, abbreviation)) return row.codePage;
    return 0;
}

std::string_view PortugueseAlternative(std::string_view abbreviation) {
    if (abbreviation == "BP") return "PT";
    if (abbreviation == "PT") return "BP";
    return {};
}

}  // namespace setup
