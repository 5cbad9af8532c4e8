// Decoding the code pages of the language files, the same in both builds:
// natively through the C library's converters, under Wine through
// MultiByteToWideChar.
#include "sys/code_pages.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct DecodeCase {
    const char* name;
    uint32_t codePage;
    std::string bytes;
    std::u16string text;
};

class DecodeCodePage : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeCodePage, GivesTheLanguagesCharacters) {
    EXPECT_EQ(sys::DecodeCodePage(GetParam().bytes, GetParam().codePage), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Languages, DecodeCodePage,
                         ::testing::Values(DecodeCase{"Japanese", 932, "\x93\xFA\x96\x7B\x8C\xEA", u"日本語"},
                                           // 0x5C, the backslash, is the second byte of this one.
                                           DecodeCase{"JapaneseTrailBackslash", 932, "\x95\x5Cn", u"表n"},
                                           DecodeCase{"ChineseSimplified", 936, "\xD6\xD0\xCE\xC4", u"中文"},
                                           DecodeCase{"ChineseTraditional", 950, "\xA4\xA4\xA4\xE5", u"中文"},
                                           DecodeCase{"Korean", 949, "\xC7\xD1\xB1\xB9", u"한국"},
                                           DecodeCase{"Thai", 874, "\xA1", u"ก"},
                                           DecodeCase{"German", 1252, "Gr\xFC\xDF", u"Grüß"},
                                           DecodeCase{"Russian", 1251, "\xC4\xE0", u"Да"},
                                           DecodeCase{"Greek", 1253, "\xC1\xE2", u"Αβ"},
                                           DecodeCase{"Polish", 1250, "\xA3\xF3\xB3", u"Łół"},
                                           // Its converter may hold a last letter back for an accent to come.
                                           DecodeCase{"Vietnamese", 1258, "VI\xC2", u"VIÂ"},
                                           DecodeCase{"HalfACharacterAtTheEnd", 932, "\x93\xFA\x96", u"日"},
                                           DecodeCase{"Empty", 932, "", u""},
                                           DecodeCase{"Ascii", 950, "ERR_MSG4", u"ERR_MSG4"}),
                         [](const ::testing::TestParamInfo<DecodeCase>& param) {
                             return std::string(param.param.name);
                         });

TEST(DecodeCodePage, TheSystemsCodePageIsThatOfFromCodePage) {
    const std::string bytes = sys::ToCodePage(u"Setup");
    EXPECT_EQ(sys::DecodeCodePage(bytes, sys::kCodePageSystem), sys::FromCodePage(bytes));
    // A code page nobody has reads as the system's.
    EXPECT_EQ(sys::DecodeCodePage(bytes, 59999), u"Setup");
}

}  // namespace
