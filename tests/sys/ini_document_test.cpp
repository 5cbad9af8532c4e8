// The INI parser on its own: what it repairs and where, and input that is
// not an INI file at all (long lines, NULs, missing brackets, random bytes,
// very large files). How its results look through the profile functions is
// in profile_test.cpp, held against Windows.
#include "sys/ini_document.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using namespace std::string_literals;
using sys::IniDocument;
using sys::IniErrorKind;

struct ErrorAt {
    uint32_t line;
    IniErrorKind kind;
    bool operator==(const ErrorAt&) const = default;
};

std::vector<ErrorAt> ErrorsOf(const IniDocument& document) {
    std::vector<ErrorAt> errors;
    for (const sys::IniError& error : document.Errors()) errors.push_back({error.line, error.kind});
    return errors;
}

void PrintTo(const ErrorAt& e, std::ostream* os) {
    *os << "line " << e.line << " kind " << static_cast<int>(e.kind);
}

TEST(IniParser, RepairsAreRecordedWithTheirLineNumbers) {
    // CR LF, LF and CR alone each end one line; blank lines count too.
    const IniDocument document =
        IniDocument::Parse(u"[ok]\r\nkey\n[broken\r; comments need no '='\r\n\r\nv=1\0tail\r\n[fine]\nw=2"s);
    const std::vector<ErrorAt> expected = {
        {2, IniErrorKind::kNoEquals},
        {3, IniErrorKind::kSectionNotClosed},
        {6, IniErrorKind::kNulCharacter},
    };
    EXPECT_EQ(ErrorsOf(document), expected);
    ASSERT_NE(document.FindEntry(u"ok", u"v"), nullptr);
    EXPECT_EQ(document.FindEntry(u"ok", u"v")->value, u"1");
    EXPECT_EQ(document.FindEntry(u"fine", u"w")->value, u"2");
}

TEST(IniParser, CleanFileHasNoErrors) {
    const IniDocument document = IniDocument::Parse(u"; c\r\n[S]\r\nk=v\r\n=\r\n[]\r\n");
    EXPECT_TRUE(document.Errors().empty());
    EXPECT_EQ(document.Sections().size(), 3u);  // the nameless one before [S], [S], []
}

TEST(IniParser, LineOfAMegabyteIsOneValue) {
    const std::u16string value(1 << 20, u'x');
    const IniDocument document = IniDocument::Parse(u"[S]\r\nk=" + value + u"\r\nnext=1\r\n");
    ASSERT_NE(document.FindEntry(u"S", u"k"), nullptr);
    EXPECT_EQ(document.FindEntry(u"S", u"k")->value, value);
    EXPECT_EQ(document.FindEntry(u"S", u"next")->value, u"1");
}

TEST(IniParser, SectionLineOfOnlyBracketsAndBlanks) {
    const IniDocument document = IniDocument::Parse(u"[\r\n[[\r\n]\r\n[ ]\r\nk=1\r\n[\t]]\r\n");
    EXPECT_NE(document.FindEntry(u"", u"]"), nullptr);  // a key of the lines before any header
    // "[ ]" names a second nameless section, which lookups never reach.
    EXPECT_EQ(document.FindEntry(u"", u"k"), nullptr);
    EXPECT_NE(document.FindSection(u"]"), nullptr);
    const std::vector<ErrorAt> expected = {
        {1, IniErrorKind::kSectionNotClosed},
        {2, IniErrorKind::kSectionNotClosed},
        {3, IniErrorKind::kNoEquals},
    };
    EXPECT_EQ(ErrorsOf(document), expected);
}

TEST(IniParser, ManySectionsAndKeys) {
    std::u16string text;
    for (int s = 0; s < 2000; ++s) {
        text += u"[Section " + sys::Widen(std::to_string(s)) + u"]\n";
        for (int k = 0; k < 20; ++k)
            text += u"key" + sys::Widen(std::to_string(k)) + u"=" + sys::Widen(std::to_string(s * k)) + u"\n";
    }
    const IniDocument document = IniDocument::Parse(text);
    EXPECT_EQ(document.Sections().size(), 2001u);
    EXPECT_EQ(document.FindEntry(u"section 1999", u"KEY19")->value, u"37981");
}

// Whatever the bytes, parsing never fails and what it writes back is a
// fixed point: parsing the written text gives the same text again.
TEST(IniParser, RandomTextRoundTripsToAFixedPoint) {
    std::mt19937 random(7);
    const char16_t alphabet[] = u"[]=;# \t\r\n\0abcAB\x1A\"'\u00FC";
    for (int round = 0; round < 500; ++round) {
        std::u16string text(random() % 300, u' ');
        for (char16_t& c : text) c = alphabet[random() % (std::size(alphabet) - 1)];
        const std::u16string once = IniDocument::Parse(text).Serialize();
        const IniDocument again = IniDocument::Parse(once);
        EXPECT_EQ(again.Serialize(), once) << "round " << round;
        for (const sys::IniError& error : again.Errors())
            EXPECT_NE(error.kind, IniErrorKind::kNulCharacter) << "NULs are gone after one pass";
    }
}

TEST(IniDocument, EditsKeepTheRestOfTheFile) {
    IniDocument document = IniDocument::Parse(u";top\r\nlead=1\r\n[A]\r\nk=v\r\n;note\r\n[B]\r\n");
    document.SetValue(u"", u"lead", u"2");
    document.SetValue(u"b", u"new", u"x");
    EXPECT_TRUE(document.DeleteKey(u"A", u"K"));
    EXPECT_FALSE(document.DeleteKey(u"A", u"K"));
    EXPECT_FALSE(document.DeleteSection(u"C"));
    EXPECT_EQ(document.Serialize(), u";top\r\nlead=2\r\n[A]\r\n;note\r\n[B]\r\nnew=x\r\n");
    // The lines before the first section keep their place when deleted.
    EXPECT_TRUE(document.DeleteSection(u""));
    document.SetValue(u"", u"first", u"1");
    EXPECT_EQ(document.Serialize(), u"first=1\r\n[A]\r\n;note\r\n[B]\r\nnew=x\r\n");
}

}  // namespace
