// The languages the setup program knows: the abbreviation of each Windows
// language id, which names its language file (Lang_JP.Dat, ...) and its
// folders on the disc, and the code page its files are written in.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace setup {

inline constexpr int kAnySubLanguage = -1;

struct LanguageRow {
    uint16_t primaryLanguage;  // the low 10 bits of a language id
    int subLanguage;           // the upper 6 bits, or kAnySubLanguage
    std::string_view abbreviation;
    uint32_t codePage;  // the Windows code page of its files; 0: the system's
};

// Every row, more specific rows (a given sub-language) before the row of
// their primary language that takes the other sub-languages.
std::span<const LanguageRow> LanguageTable();

// The abbreviation of a language id: its row's, and "EN" for languages the
// table does not name.
std::string_view LanguageAbbreviation(uint16_t languageId);

// The code page of files written in the language of that abbreviation
// (without regard to case); 0, the system's, for an unknown one.
uint32_t LanguageCodePage(std::string_view abbreviation);

// The two Portuguese languages take each other's place when the disc lacks
// the files of one: "PT" for "BP" and "BP" for "PT"; empty for the others.
std::string_view PortugueseAlternative(std::string_view abbreviation);

}  // namespace setup
